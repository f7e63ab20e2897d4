#include "packlist/list_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/unique_handle.h"

namespace velinst::packlist {
namespace {

class Win32ListFile final : public ListOutput {
 public:
  explicit Win32ListFile(const char* path) : path_(path) {}

  bool Open() {
    file_ = platform::UniqueHandle(::CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return false;
    regular_ = ::GetFileType(file_.Get()) == FILE_TYPE_DISK;
    return true;
  }

  bool Write(const char* data, std::size_t size) override {
    while (size > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(file_.Get(), data, chunk, &written, nullptr) || written == 0) return false;
      data += written;
      size -= written;
    }
    return true;
  }

  bool Close() override { return file_.Close(); }

  // The error of the failure that led here stays the thread's error.
  void Remove() override {
    const DWORD error = ::GetLastError();
    file_.Close();
    if (regular_) ::DeleteFileA(path_.c_str());
    ::SetLastError(error);
  }

 private:
  std::string path_;
  platform::UniqueHandle file_;
  bool regular_ = false;
};

// The identity of an existing file or folder: its volume and file index.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  const platform::UniqueHandle file(::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file && ::GetFileInformationByHandle(file.Get(), &info);
}

}  // namespace

bool NamesSameFile(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return false;
  const DWORD error = ::GetLastError();
  BY_HANDLE_FILE_INFORMATION firstInfo{};
  BY_HANDLE_FILE_INFORMATION secondInfo{};
  const bool same = FileIdentity(first, firstInfo) && FileIdentity(second, secondInfo) &&
                    firstInfo.dwVolumeSerialNumber == secondInfo.dwVolumeSerialNumber &&
                    firstInfo.nFileIndexHigh == secondInfo.nFileIndexHigh &&
                    firstInfo.nFileIndexLow == secondInfo.nFileIndexLow;
  ::SetLastError(error);
  return same;
}

std::unique_ptr<ListOutput> CreateListFile(const char* path) {
  if (path == nullptr) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto file = std::make_unique<Win32ListFile>(path);
  if (!file->Open()) return nullptr;
  return file;
}

}  // namespace velinst::packlist
