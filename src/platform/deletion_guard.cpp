#include "platform/deletion_guard.h"

#include <cstring>
#include <string_view>

#include "platform/ascii_text.h"
#include "platform/file_operations.h"
#include "platform/path_buffer.h"
#include "platform/path_separator.h"
#include "platform/system_folders.h"

namespace velinst {

namespace {

constexpr std::string_view kProtectedNames[] = {
    "Documents and Settings",
    "Program Files",
    "Program Files (x86)",
    "ProgramData",
    "Recovery",
    "SWSetup",
    "Users",
    "Windows",
    "Windows32",
};

bool IsProtectedName(std::string_view text) {
  for (const std::string_view name : kProtectedNames)
    if (EqualIgnoringAsciiCase(text, name)) return true;
  return false;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "C:" or "C:\" in either letter case (lower case reaches the same drive).
bool IsAnyDriveRoot(std::string_view text) {
  return (text.size() == 2 || (text.size() == 3 && platform::IsPathSeparator(text[2]))) && IsDriveLetter(text[0]) &&
         text[1] == ':';
}

bool IsRootOrSystemName(std::string_view text) {
  if (text.empty() || IsAnyDriveRoot(text)) return true;
  if (text.size() == 1 && platform::IsPathSeparator(text[0])) return true;
  // "C:\Windows" and its kin.
  return text.size() > 3 && IsAnyDriveRoot(text.substr(0, 3)) && IsProtectedName(text.substr(3));
}

}  // namespace

DeletionGuard::DeletionGuard() : systemFolders_(platform::SystemFolders()) {}

bool DeletionGuard::Refuses(const char* path) const {
  const std::string_view text = path;
  if (text == "." || text == ".." || IsProtectedName(text) || IsRootOrSystemName(text)) return true;

  char full[4096];
  if (!platform::FullPath(path, full, sizeof full)) return false;
  StripTrailingSeparator(full);
  if (IsRootOrSystemName(full)) return true;
  for (const std::string& folder : systemFolders_)
    if (folder == full) return true;
  return false;
}

}  // namespace velinst
