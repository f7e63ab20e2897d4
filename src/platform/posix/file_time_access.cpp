#include "platform/file_time_access.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/posix/stat_times.h"

namespace velinst::platform {

namespace {

timespec ToTimespec(const FileTime* time) {
  if (time == nullptr) return timespec{0, UTIME_OMIT};
  return timespec{static_cast<time_t>(UnixSeconds(*time)), static_cast<long>(UnixNanoseconds(*time))};
}

}  // namespace

bool StatTimes(const char* path, std::int64_t& creationSeconds, std::int64_t& modificationSeconds) {
  struct statx status;
  if (!StatPath(path, true, status)) return false;
  creationSeconds = CreationTimestamp(status).tv_sec;
  modificationSeconds = status.stx_mtime.tv_sec;
  return true;
}

bool ReadFileTimes(const char* path, bool, FileTime* creation, FileTime* access, FileTime* write) {
  struct statx status;
  if (!StatPath(path, true, status)) return false;
  if (creation != nullptr) *creation = ToFileTime(CreationTimestamp(status));
  if (access != nullptr) *access = ToFileTime(status.stx_atime);
  if (write != nullptr) *write = ToFileTime(status.stx_mtime);
  return true;
}

bool WriteFileTimes(const char* path, bool, const FileTime*, const FileTime* access, const FileTime* write) {
  const timespec times[2] = {ToTimespec(access), ToTimespec(write)};
  return ::utimensat(AT_FDCWD, path, times, 0) == 0;
}

}  // namespace velinst::platform
