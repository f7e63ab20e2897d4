#include "platform/last_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace velinst::platform {

const std::uint32_t kErrorTooLong = ENAMETOOLONG;
const std::uint32_t kErrorFileExists = EEXIST;
const std::uint32_t kErrorFileNotFound = ENOENT;
// The host has no sharing modes; the value only has to differ from the others.
const std::uint32_t kErrorSharingViolation = ETXTBSY;
const std::uint32_t kErrorMoreData = EOVERFLOW;
const std::uint32_t kErrorNoMoreItems = ENODATA;
const std::uint32_t kErrorAccessDenied = EACCES;
const std::uint32_t kErrorInvalidParameter = EINVAL;

std::uint32_t LastError() { return static_cast<std::uint32_t>(errno); }

void SetLastError(std::uint32_t code) { errno = static_cast<int>(code); }

bool SystemMessage(std::uint32_t code, char* buffer, std::size_t size) {
  if (size == 0) return false;
  char scratch[256];
  // GNU strerror_r may return a static text instead of filling the scratch.
  const char* text = strerror_r(static_cast<int>(code), scratch, sizeof scratch);
  if (text == nullptr || *text == '\0') return false;
  const std::size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return true;
}

}  // namespace velinst::platform
