#include "installer/win32/cancel_autoplay.h"

#include <cwchar>
#include <memory>
#include <new>
#include <string>

#include "installer/autoplay.h"
#include "platform/win32/com_owner.h"

namespace velinst {

const CLSID kCancelAutoplayClassId = {0xDDEFE873, 0x6997, 0x4E68, {0xBE, 0x26, 0x39, 0xB6, 0x33, 0xAD, 0xBE, 0x12}};

namespace {

// The shell looks for cancel objects of the classes listed here.
constexpr char kHandlerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\AutoplayHandlers\\CancelAutoplay\\CLSID";
constexpr char kHandlerValue[] = "DDEFE873-6997-4e68-BE26-39B633ADBE12";

struct KeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

using platform::ComOwner;

CCancelAutoplay g_cancelAutoplay;

}  // namespace

std::atomic<std::uint32_t> CQueryCancelAutoplay::suppressing_{0};

CQueryCancelAutoplay::CQueryCancelAutoplay(std::wstring_view drive) : contentMask_(kAutoplayContentMask) {
  const std::size_t length = drive.size() < MAX_PATH - 1 ? drive.size() : MAX_PATH - 1;
  std::wmemcpy(drive_, drive.data(), length);
  drive_[length] = L'\0';
}

HRESULT CQueryCancelAutoplay::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IQueryCancelAutoPlay)) ||
      IsEqualIID(iid, kCancelAutoplayClassId)) {
    AddRef();
    *object = static_cast<IQueryCancelAutoPlay*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CQueryCancelAutoplay::AddRef() { return ++references_; }

ULONG CQueryCancelAutoplay::Release() {
  const ULONG remaining = --references_;
  if (remaining == 0) {
    ::MessageBeep(0);
    delete this;
  }
  return remaining;
}

HRESULT CQueryCancelAutoplay::AllowAutoPlay(LPCWSTR path, DWORD contentType, LPCWSTR, DWORD) {
  const std::wstring_view eventDrive = path != nullptr ? std::wstring_view(path) : std::wstring_view();
  return CancelsAutoplay(Suppressing(), drive_, eventDrive, contentType, contentMask_) ? S_FALSE : S_OK;
}

CCancelAutoplay::CCancelAutoplay() {
  HKEY opened = nullptr;
  LSTATUS status = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHandlerKey, 0, KEY_ALL_ACCESS, &opened);
  if (status == ERROR_SUCCESS) {
    const UniqueKey key(opened);
    status = ::RegSetValueExA(key.get(), kHandlerValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  }
  if (status != ERROR_SUCCESS) ::MessageBeep(MB_ICONQUESTION);
}

CCancelAutoplay::~CCancelAutoplay() {
  const DWORD cookie = cookie_.exchange(0);
  IRunningObjectTable* table = nullptr;
  if (cookie != 0 && SUCCEEDED(::GetRunningObjectTable(0, &table))) {
    table->Revoke(cookie);
    table->Release();
  }
  CQueryCancelAutoplay::SetSuppressing(false);
}

bool CCancelAutoplay::TakeDrive(std::wstring_view root) {
  if (!IsAcceptableDriveRoot(root, ::GetLogicalDrives())) return false;
  const std::wstring rootText(root);
  if (::GetDriveTypeW(rootText.c_str()) != DRIVE_CDROM) return false;
  IMoniker* created = nullptr;
  if (SUCCEEDED(::CreateClassMoniker(kCancelAutoplayClassId, &created))) {
    const ComOwner<IMoniker> moniker(created);
    Register(root, moniker.get());
  }
  CQueryCancelAutoplay::SetSuppressing(true);
  return true;
}

HRESULT CCancelAutoplay::Register(std::wstring_view root, IMoniker* moniker) {
  IRunningObjectTable* opened = nullptr;
  HRESULT result = ::GetRunningObjectTable(0, &opened);
  if (FAILED(result)) return result;
  const ComOwner<IRunningObjectTable> table(opened);
  auto* object = new (std::nothrow) CQueryCancelAutoplay(root);
  if (object == nullptr) return E_OUTOFMEMORY;
  const ComOwner<CQueryCancelAutoplay> creation(object);
  IUnknown* unknown = nullptr;
  result = object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
  if (FAILED(result)) return result;
  const ComOwner<IUnknown> registered(unknown);
  DWORD cookie = 0;
  result = table->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, unknown, moniker, &cookie);
  if (SUCCEEDED(result)) cookie_.store(cookie);
  return result;
}

HRESULT CCancelAutoplay::Stop() {
  IRunningObjectTable* table = nullptr;
  const HRESULT result = ::GetRunningObjectTable(0, &table);
  if (FAILED(result)) {
    CQueryCancelAutoplay::SetSuppressing(false);
    return result;
  }
  table->Revoke(cookie_.exchange(0));
  const ULONG remaining = table->Release();
  CQueryCancelAutoplay::SetSuppressing(false);
  return static_cast<HRESULT>(remaining);
}

namespace platform {

bool StartAutoplaySuppression(std::wstring_view root) {
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
  const bool taken = TakeDrive(root, [](std::wstring_view candidate) { return g_cancelAutoplay.TakeDrive(candidate); });
  // The shell's calls reach the cancel object through this thread's messages.
  MSG message;
  for (;;) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;  // the queue itself failed: nothing more will arrive
    if (got != 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (MessageLoopEnds(got == 0, CQueryCancelAutoplay::Suppressing())) break;
  }
  ::CoUninitialize();
  return taken;
}

std::int32_t StopAutoplaySuppression() { return g_cancelAutoplay.Stop(); }

}  // namespace platform

}  // namespace velinst
