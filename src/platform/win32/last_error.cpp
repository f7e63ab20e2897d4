#include "platform/last_error.h"

#include <windows.h>

namespace velinst::platform {

const std::uint32_t kErrorTooLong = ERROR_FILENAME_EXCED_RANGE;

std::uint32_t LastError() { return ::GetLastError(); }

void SetLastError(std::uint32_t code) { ::SetLastError(code); }

bool SystemMessage(std::uint32_t code, char* buffer, std::size_t size) {
  if (size == 0) return false;
  const DWORD capacity = size > 0xFFFF ? 0xFFFF : static_cast<DWORD>(size);
  return ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                          0x400, buffer, capacity, nullptr) != 0;
}

}  // namespace velinst::platform
