#include "platform/path_buffer.h"

#include <cstring>

#include "platform/last_error.h"
#include "platform/path_separator.h"

namespace velinst {

namespace {

bool Refuse(PathBuffer& buffer) {
  buffer[0] = '\0';
  platform::SetLastError(platform::kErrorTooLong);
  return false;
}

}  // namespace

bool FitsPath(const char* path) {
  if (path != nullptr && ::strnlen(path, kPathCapacity) < kPathCapacity) return true;
  platform::SetLastError(platform::kErrorTooLong);
  return false;
}

bool CopyPath(PathBuffer& buffer, const char* text) {
  if (!FitsPath(text)) return Refuse(buffer);
  const std::size_t length = std::strlen(text);
  std::memcpy(buffer, text, length + 1);
  return true;
}

bool JoinPath(PathBuffer& buffer, const char* directory, const char* name) {
  if (directory == nullptr || name == nullptr) return Refuse(buffer);
  const std::size_t directoryLength = ::strnlen(directory, kPathCapacity);
  const std::size_t nameLength = ::strnlen(name, kPathCapacity);
  const bool separator = directoryLength != 0 && !platform::IsPathSeparator(directory[directoryLength - 1]);
  const std::size_t length = directoryLength + (separator ? 1 : 0) + nameLength;
  if (length >= kPathCapacity) return Refuse(buffer);
  std::memcpy(buffer, directory, directoryLength);
  if (separator) buffer[directoryLength] = platform::kPathSeparator;
  std::memcpy(buffer + length - nameLength, name, nameLength);
  buffer[length] = '\0';
  return true;
}

void StripTrailingSeparator(char* path) {
  const std::size_t length = std::strlen(path);
  if (length != 0 && platform::IsPathSeparator(path[length - 1])) path[length - 1] = '\0';
}

const char* LastSeparator(const char* path) {
  const char* last = nullptr;
  for (; *path != '\0'; ++path)
    if (platform::IsPathSeparator(*path)) last = path;
  return last;
}

char* LastSeparator(char* path) { return const_cast<char*>(LastSeparator(static_cast<const char*>(path))); }

}  // namespace velinst
