#include "platform/file_operations.h"

#include <io.h>
#include <windows.h>

namespace velinst::platform {

bool PathExists(const char* path) { return ::_access(path, 0) == 0; }

bool MakeFolder(const char* path) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
  return ::CreateDirectoryA(path, &security) != FALSE;
}

bool RemoveEmptyFolder(const char* path) { return ::RemoveDirectoryA(path) != FALSE; }

bool RemoveFile(const char* path) { return ::DeleteFileA(path) != FALSE; }

// A junction or folder link goes with RemoveDirectoryA, which removes the
// reparse point and leaves its target alone; a file link with DeleteFileA.
bool RemoveLink(const char* path, bool toFolder) { return toFolder ? RemoveEmptyFolder(path) : RemoveFile(path); }

bool CopyFileOver(const char* source, const char* destination) {
  return ::CopyFileA(source, destination, FALSE) != FALSE;
}

bool MoveFileNoReplace(const char* source, const char* destination) {
  return ::MoveFileA(source, destination) != FALSE;
}

bool FileSize(const char* path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

std::uint32_t CurrentFolder(char* buffer, std::uint32_t size) { return ::GetCurrentDirectoryA(size, buffer); }

bool FullPath(const char* path, char* buffer, std::uint32_t size) {
  const DWORD length = ::GetFullPathNameA(path, size, buffer, nullptr);
  return length != 0 && length < size;
}

}  // namespace velinst::platform
