// CDOS: tests and searches on texts.
#include <cstring>
#include <string_view>

#include "platform/ascii_text.h"
#include "platform/cdos.h"
#include "platform/path_separator.h"

namespace velinst {

bool CDOS::IsDriveRootText(const char* text) {
  if (text == nullptr) return false;
  if (platform::kRootFolderText != nullptr && std::strcmp(text, platform::kRootFolderText) == 0) return true;
  return text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':' &&
         (text[2] == '\0' || (text[2] == '\\' && text[3] == '\0'));
}

bool CDOS::Extension(const char* path, PathBuffer& buffer) {
  if (path == nullptr || ::strnlen(path, kPathCapacity) == kPathCapacity) return false;
  // Only the last element counts: a dot in a folder name is no extension.
  const char* dot = nullptr;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '.') dot = c;
    if (platform::IsPathSeparator(*c)) dot = nullptr;
  }
  if (dot == nullptr) return false;
  return CopyPath(buffer, dot + 1);
}

bool CDOS::EqualIgnoringCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return EqualIgnoringAsciiCase(a, b);
}

const char* CDOS::FindIgnoringCase(const char* text, const char* part) {
  if (text == nullptr || part == nullptr) return nullptr;
  const std::string_view wanted = part;
  const std::string_view haystack = text;
  for (std::size_t at = 0; at + wanted.size() <= haystack.size(); ++at)
    if (EqualIgnoringAsciiCase(haystack.substr(at, wanted.size()), wanted)) return text + at;
  return nullptr;
}

}  // namespace velinst
