// The installer's file-system and drive service. Every operation behaves as
// a free function (the object holds nothing); failures are reported by the
// result alone (false, 0 or null), never thrown. Paths are narrow texts of at
// most 255 characters: a longer one is refused, never cut.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file_time.h"
#include "platform/path_buffer.h"

namespace velinst {

class CDOS {
 public:
  CDOS() = default;
  CDOS(const CDOS&) = default;
  CDOS& operator=(const CDOS&) = default;
  virtual ~CDOS() = default;

  // ---- Files
  bool Exists(const char* path) const;
  // Creation time in seconds since 1970; 0 when the file cannot be examined.
  std::int64_t CreationTime(const char* path) const;
  // The earlier of the creation and modification times; 0 as above.
  std::int64_t EarliestTime(const char* path) const;
  // The three times of a file (each output may be null). A file that another
  // program holds open for writing is read with shared write access.
  bool GetFileTimes(const char* path, FileTime* creation, FileTime* access, FileTime* write) const;
  // Sets the times that are not null (the host ignores the creation time).
  bool SetFileTimes(const char* path, const FileTime* creation, const FileTime* access, const FileTime* write) const;
  // A temporary file name into `name` (kPathCapacity bytes): in `folder`
  // (at most 245 characters) or the user's temporary folder when null, with
  // `prefix` or "TMP" when null. With `unique` 0 the file is created
  // exclusively; otherwise only the name is formed. Returns the unique
  // number used, 0 on failure.
  std::uint32_t TemporaryFileName(PathBuffer& name, const char* folder, const char* prefix, std::uint32_t unique) const;

  static constexpr std::size_t kTemporaryFolderLimit = 245;
};

}  // namespace velinst
