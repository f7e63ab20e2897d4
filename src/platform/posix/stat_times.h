// File status with the birth time, for the host's file-system calls.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/file_time.h"

namespace velinst::platform {

// statx of `path`, following a final link when `followLinks` is set.
inline bool StatPath(const char* path, bool followLinks, struct statx& status) {
  const int flags = followLinks ? 0 : AT_SYMLINK_NOFOLLOW;
  return ::statx(AT_FDCWD, path, flags, STATX_BASIC_STATS | STATX_BTIME, &status) == 0;
}

// The birth time where the file system keeps one, else the change time.
inline const struct statx_timestamp& CreationTimestamp(const struct statx& status) {
  return (status.stx_mask & STATX_BTIME) != 0 ? status.stx_btime : status.stx_ctime;
}

inline FileTime ToFileTime(const struct statx_timestamp& time) { return FileTimeFromUnix(time.tv_sec, time.tv_nsec); }

}  // namespace velinst::platform
