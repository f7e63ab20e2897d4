#include <windows.h>

#include "installer/os_version.h"

namespace velinst::platform {

bool VerifyVersion(const VersionCondition& condition) {
  OSVERSIONINFOEXA wanted = {};
  wanted.dwOSVersionInfoSize = sizeof wanted;
  wanted.dwMajorVersion = condition.majorVersion;
  wanted.dwMinorVersion = condition.minorVersion;
  wanted.dwBuildNumber = condition.buildNumber;
  wanted.wServicePackMajor = condition.servicePackMajor;
  wanted.wServicePackMinor = condition.servicePackMinor;
  ULONGLONG conditionMask = 0;
  for (const DWORD type : {VER_MAJORVERSION, VER_MINORVERSION, VER_BUILDNUMBER, VER_SERVICEPACKMAJOR,
                           VER_SERVICEPACKMINOR}) {
    if (condition.typeMask & type) conditionMask = ::VerSetConditionMask(conditionMask, type, VER_GREATER_EQUAL);
  }
  return ::VerifyVersionInfoA(&wanted, condition.typeMask, conditionMask) != FALSE;
}

}  // namespace velinst::platform
