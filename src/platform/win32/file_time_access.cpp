#include "platform/file_time_access.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace velinst::platform {

namespace {

FileTime FromSystem(const FILETIME& time) { return FileTime{time.dwLowDateTime, time.dwHighDateTime}; }
FILETIME ToSystem(const FileTime& time) { return FILETIME{time.lowDateTime, time.highDateTime}; }

UniqueHandle OpenForTimes(const char* path, DWORD access, DWORD share) {
  return UniqueHandle(::CreateFileA(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

bool StatTimes(const char* path, std::int64_t& creationSeconds, std::int64_t& modificationSeconds) {
  struct _stat64i32 status;
  if (::_stat64i32(path, &status) != 0) return false;
  creationSeconds = status.st_ctime;
  modificationSeconds = status.st_mtime;
  return true;
}

bool ReadFileTimes(const char* path, bool othersMayWrite, FileTime* creation, FileTime* access, FileTime* write) {
  const UniqueHandle file =
      OpenForTimes(path, GENERIC_READ, othersMayWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ);
  if (!file) return false;
  FILETIME times[3];
  if (!::GetFileTime(file.Get(), &times[0], &times[1], &times[2])) return false;
  if (creation != nullptr) *creation = FromSystem(times[0]);
  if (access != nullptr) *access = FromSystem(times[1]);
  if (write != nullptr) *write = FromSystem(times[2]);
  return true;
}

bool WriteFileTimes(const char* path, bool othersMayRead, const FileTime* creation, const FileTime* access,
                    const FileTime* write) {
  const UniqueHandle file =
      OpenForTimes(path, GENERIC_WRITE, othersMayRead ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_WRITE);
  if (!file) return false;
  FILETIME times[3];
  if (creation != nullptr) times[0] = ToSystem(*creation);
  if (access != nullptr) times[1] = ToSystem(*access);
  if (write != nullptr) times[2] = ToSystem(*write);
  return ::SetFileTime(file.Get(), creation != nullptr ? &times[0] : nullptr, access != nullptr ? &times[1] : nullptr,
                       write != nullptr ? &times[2] : nullptr) != FALSE;
}

}  // namespace velinst::platform
