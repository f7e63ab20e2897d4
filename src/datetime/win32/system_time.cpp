#include "datetime/system_time.h"

#include <windows.h>

namespace velinst {

bool FileTimeToUtc(const FileTime& fileTime, SystemTime& utc) {
  const FILETIME in{fileTime.lowDateTime, fileTime.highDateTime};
  SYSTEMTIME out{};
  if (!::FileTimeToSystemTime(&in, &out)) return false;
  utc = SystemTime{out.wYear, out.wMonth,  out.wDayOfWeek, out.wDay,
                   out.wHour, out.wMinute, out.wSecond,    out.wMilliseconds};
  return true;
}

bool UtcToFileTime(const SystemTime& utc, FileTime& fileTime) {
  const SYSTEMTIME in{utc.year, utc.month, utc.dayOfWeek, utc.day, utc.hour, utc.minute, utc.second, utc.milliseconds};
  FILETIME out{};
  if (!::SystemTimeToFileTime(&in, &out)) return false;
  fileTime = FileTime{out.dwLowDateTime, out.dwHighDateTime};
  return true;
}

}  // namespace velinst
