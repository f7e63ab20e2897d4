// The platform's file search (FindFirstFileA and its kin): the entries of
// one folder that match a pattern on the last path element, "." and ".."
// included as Windows reports them.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/file_time.h"

namespace velinst::platform {

inline constexpr std::uint32_t kAttributeReadOnly = 0x01;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeNormal = 0x80;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;  // link, junction or other reparse point

// One match. A link carries kAttributeReparsePoint, and kAttributeDirectory
// when it stands for a folder.
struct FindData {
  std::uint32_t attributes = 0;
  FileTime creationTime;
  FileTime lastAccessTime;
  FileTime lastWriteTime;
  std::uint64_t size = 0;
  char name[260] = {};
};

class FileSearch {
 public:
  FileSearch();
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;
  FileSearch(FileSearch&&) noexcept;
  FileSearch& operator=(FileSearch&&) noexcept;
  ~FileSearch();

  // Starts a search, closing any open one; false, with nothing open, when
  // nothing matches or the folder cannot be read.
  bool First(const char* pattern, FindData& data);
  // The next match; false at the end.
  bool Next(FindData& data);
  void Close();
  bool IsOpen() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace velinst::platform
