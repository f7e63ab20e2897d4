#include "datetime/runtime_time.h"

#include <sys/timeb.h>
#include <time.h>
#include <windows.h>

#include <cstring>

namespace velinst::runtime {
namespace {

using GetTzNameFunction = errno_t(__cdecl*)(std::size_t*, char*, std::size_t, int);

// mingw's import library of msvcrt.dll lacks _get_tzname, which the DLL
// itself exports (Vista and later): take it from the loaded runtime.
GetTzNameFunction FindGetTzName() {
  const HMODULE crt = ::GetModuleHandleA("msvcrt.dll");
  if (crt == nullptr) return nullptr;
  const auto generic = reinterpret_cast<void (*)()>(::GetProcAddress(crt, "_get_tzname"));
  return reinterpret_cast<GetTzNameFunction>(generic);
}

}  // namespace

ClockReading ReadClock() {
  ClockReading reading;
  __timeb64 now{};
  if (::_ftime64_s(&now) != 0) return reading;
  reading.seconds = now.time;
  reading.milliseconds = now.millitm;
  reading.zoneWest = now.timezone;
  reading.daylight = now.dstflag;
  return reading;
}

bool GmTime(std::int64_t seconds, std::tm& fields) {
  const __time64_t value = seconds;
  return ::_gmtime64_s(&fields, &value) == 0;
}

std::int64_t MkTime(std::tm& fields) { return ::_mktime64(&fields); }

std::int64_t MkGmTime(std::tm& fields) { return ::_mkgmtime64(&fields); }

std::string ZoneName(int index) {
  ::_tzset();
  char buffer[128] = {};
  static const GetTzNameFunction getTzName = FindGetTzName();
  if (getTzName != nullptr) {
    std::size_t length = 0;
    if (getTzName(&length, buffer, sizeof buffer, index == 0 ? 0 : 1) != 0) return std::string();
  } else {
    const char* name = ::_tzname[index == 0 ? 0 : 1];
    if (name != nullptr) std::strncpy(buffer, name, sizeof buffer - 1);
  }
  return std::string(buffer, ::strnlen(buffer, sizeof buffer));
}

}  // namespace velinst::runtime
