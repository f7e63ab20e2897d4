// A file search over a pattern, with the folder part of the pattern kept so
// that each match can be named in full.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file_search.h"
#include "platform/path_buffer.h"

namespace velinst {

class CFindFile {
 public:
  // Closes any earlier search and starts one. False, with no search open,
  // when nothing matches or the pattern has 256 characters or more.
  bool First(const char* pattern);
  bool Next();
  void Close();

  std::uint32_t Attributes() const { return data_.attributes; }
  bool IsDirectory() const { return (data_.attributes & platform::kAttributeDirectory) != 0; }
  // A link, junction or other reparse point: tree walks never pass through one.
  bool IsLink() const { return (data_.attributes & platform::kAttributeReparsePoint) != 0; }
  const char* Name() const { return data_.name; }
  // Copies the name into `buffer` of `size` bytes; false, with an empty
  // text there, when it does not fit.
  bool Name(char* buffer, std::size_t size) const;
  // The folder of the pattern, a separator and the name (the name alone
  // when the pattern has no folder); null when that has 256 characters or more.
  const char* FullPath();
  // The low 32 bits of the size, and the whole size.
  std::uint32_t Size() const { return static_cast<std::uint32_t>(data_.size); }
  std::uint64_t FullSize() const { return data_.size; }
  const platform::FindData& Data() const { return data_; }

 private:
  platform::FindData data_;
  platform::FileSearch search_;
  PathBuffer directory_ = {};
  PathBuffer fullPath_ = {};
};

}  // namespace velinst
