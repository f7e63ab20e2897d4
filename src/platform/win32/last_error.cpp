#include "platform/last_error.h"

#include <windows.h>

namespace velinst::platform {

const std::uint32_t kErrorTooLong = ERROR_FILENAME_EXCED_RANGE;
const std::uint32_t kErrorFileExists = ERROR_FILE_EXISTS;
const std::uint32_t kErrorFileNotFound = ERROR_FILE_NOT_FOUND;
const std::uint32_t kErrorSharingViolation = ERROR_SHARING_VIOLATION;
const std::uint32_t kErrorMoreData = ERROR_MORE_DATA;
const std::uint32_t kErrorNoMoreItems = ERROR_NO_MORE_ITEMS;
const std::uint32_t kErrorAccessDenied = ERROR_ACCESS_DENIED;
const std::uint32_t kErrorInvalidParameter = ERROR_INVALID_PARAMETER;

std::uint32_t LastError() { return ::GetLastError(); }

void SetLastError(std::uint32_t code) { ::SetLastError(code); }

bool SystemMessage(std::uint32_t code, char* buffer, std::size_t size) {
  if (size == 0) return false;
  const DWORD capacity = size > 0xFFFF ? 0xFFFF : static_cast<DWORD>(size);
  return ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0x400, buffer,
                          capacity, nullptr) != 0;
}

}  // namespace velinst::platform
