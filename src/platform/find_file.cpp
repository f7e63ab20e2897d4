#include "platform/find_file.h"

#include <cstring>

#include "platform/last_error.h"

namespace velinst {

bool CFindFile::First(const char* pattern) {
  Close();
  PathBuffer copy;
  if (!CopyPath(copy, pattern) || !search_.First(copy, data_)) return false;
  std::memcpy(directory_, copy, sizeof copy);
  if (char* cut = LastSeparator(directory_)) {
    // A pattern in the root keeps its separator as the folder.
    cut[cut == directory_ ? 1 : 0] = '\0';
  } else {
    directory_[0] = '\0';
  }
  return true;
}

bool CFindFile::Next() { return search_.Next(data_); }

void CFindFile::Close() { search_.Close(); }

bool CFindFile::Name(char* buffer, std::size_t size) const {
  if (buffer == nullptr || size == 0) return false;
  const std::size_t length = std::strlen(data_.name);
  if (length >= size) {
    buffer[0] = '\0';
    platform::SetLastError(platform::kErrorMoreData);
    return false;
  }
  std::memcpy(buffer, data_.name, length + 1);
  return true;
}

const char* CFindFile::FullPath() { return JoinPath(fullPath_, directory_, data_.name) ? fullPath_ : nullptr; }

}  // namespace velinst
