#include "platform/temp_file_name.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/performance_counter.h"

namespace velinst::platform {

namespace {

constexpr std::uint32_t kNumbers = 0x10000;

// Forms the name; false (ENAMETOOLONG) when it does not fit.
bool FormName(const std::string& stem, std::uint32_t number, PathBuffer& name) {
  const int length = std::snprintf(name, kPathCapacity, "%s%X.TMP", stem.c_str(), number);
  if (length < 0 || static_cast<std::size_t>(length) >= kPathCapacity) {
    name[0] = '\0';
    errno = ENAMETOOLONG;
    return false;
  }
  return true;
}

}  // namespace

std::uint32_t TemporaryFolder(char* buffer, std::uint32_t size) {
  const char* folder = std::getenv("TMPDIR");
  if (folder == nullptr || *folder == '\0') folder = "/tmp";
  const std::size_t length = std::strlen(folder);
  const bool separator = folder[length - 1] != '/';
  if (length + (separator ? 1 : 0) >= size) return 0;
  std::memcpy(buffer, folder, length);
  if (separator) buffer[length] = '/';
  buffer[length + (separator ? 1 : 0)] = '\0';
  return static_cast<std::uint32_t>(length + (separator ? 1 : 0));
}

std::uint32_t MakeTemporaryFileName(const char* folder, const char* prefix, std::uint32_t unique, PathBuffer& name) {
  std::string stem = folder != nullptr ? folder : "";
  if (stem.empty() || stem.back() != '/') stem += '/';
  if (prefix != nullptr) stem.append(prefix, ::strnlen(prefix, 3));

  unique &= kNumbers - 1;
  if (unique != 0) return FormName(stem, unique, name) ? unique : 0;

  // Like the Windows call: start anywhere, walk every number once.
  const std::uint32_t start = static_cast<std::uint32_t>(PerformanceCounter() / 1000) % (kNumbers - 1) + 1;
  std::uint32_t number = start;
  do {
    if (!FormName(stem, number, name)) return 0;
    const int file = ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (file >= 0) {
      ::close(file);
      return number;
    }
    if (errno != EEXIST) break;
    number = number % (kNumbers - 1) + 1;
  } while (number != start);
  name[0] = '\0';
  return 0;
}

}  // namespace velinst::platform
