// The shell's autoplay cancel mechanism: the process-wide registration
// (CCancelAutoplay) and the object the shell asks (CQueryCancelAutoplay).
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <atomic>
#include <string_view>

namespace velinst {

// {DDEFE873-6997-4E68-BE26-39B633ADBE12}: the class of the cancel object and
// of its class moniker in the running object table.
extern const CLSID kCancelAutoplayClassId;

class CQueryCancelAutoplay final : public IQueryCancelAutoPlay {
 public:
  // Starts with one reference, the creator's.
  explicit CQueryCancelAutoplay(std::wstring_view drive);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE AllowAutoPlay(LPCWSTR path, DWORD contentType, LPCWSTR label, DWORD serialNumber) override;

  // The process-wide flag: set while a drive is taken. The start thread and
  // the stopping thread, and the shell's calls through COM, all read it.
  static bool Suppressing() { return suppressing_.load() != 0; }
  static void SetSuppressing(bool on) { suppressing_.store(on ? 1u : 0u); }

 private:
  ~CQueryCancelAutoplay() = default;

  static std::atomic<std::uint32_t> suppressing_;

  std::atomic<ULONG> references_{1};
  wchar_t drive_[MAX_PATH] = {};
  DWORD contentMask_;
};

class CCancelAutoplay {
 public:
  // Lists the cancel class under the shell's autoplay handlers (a question
  // beep when that is not allowed).
  CCancelAutoplay();
  CCancelAutoplay(const CCancelAutoplay&) = delete;
  CCancelAutoplay& operator=(const CCancelAutoplay&) = delete;
  // Revokes a registration that is still in the table.
  virtual ~CCancelAutoplay();

  // Registers a cancel object for `root` when it is a CD-ROM drive's root.
  // Registration failures are not reported: the drive counts as taken.
  bool TakeDrive(std::wstring_view root);
  // Revokes the registration: the failure of GetRunningObjectTable, or the
  // table's remaining reference count.
  HRESULT Stop();

 private:
  HRESULT Register(std::wstring_view root, IMoniker* moniker);

  std::atomic<DWORD> cookie_{0};
};

}  // namespace velinst
