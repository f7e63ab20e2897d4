#include "platform/temp_file_name.h"

#include <windows.h>

#include <cstring>

namespace velinst::platform {

std::uint32_t TemporaryFolder(char* buffer, std::uint32_t size) {
  const DWORD length = ::GetTempPathA(size, buffer);
  return length < size ? length : 0;
}

std::uint32_t MakeTemporaryFileName(const char* folder, const char* prefix, std::uint32_t unique, PathBuffer& name) {
  char full[MAX_PATH] = {};
  const UINT used = ::GetTempFileNameA(folder, prefix, unique, full);
  if (used == 0) return 0;
  const std::size_t length = std::strlen(full);
  if (length >= kPathCapacity) {
    // A file the call created for a name the caller cannot take is not left behind.
    if ((unique & 0xFFFF) == 0) ::DeleteFileA(full);
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 0;
  }
  std::memcpy(name, full, length + 1);
  return used;
}

}  // namespace velinst::platform
