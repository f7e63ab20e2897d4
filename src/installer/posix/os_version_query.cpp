#include <sys/utsname.h>

#include <cstdio>

#include "installer/os_version.h"

namespace velinst::platform {

namespace {

struct KernelRelease {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t patch = 0;
};

// "6.1.0-18-amd64" gives 6, 1 and 0; the kernel has no service packs.
KernelRelease RunningKernel() {
  KernelRelease release;
  utsname names {};
  if (::uname(&names) == 0)
    std::sscanf(names.release, "%u.%u.%u", &release.major, &release.minor, &release.patch);
  return release;
}

}  // namespace

// Answers as the Windows query does: major, minor and service pack compare
// in order (a greater major satisfies any minor), the build number alone.
bool VerifyVersion(const VersionCondition& condition) {
  const KernelRelease kernel = RunningKernel();
  if (condition.typeMask & VersionCondition::kMajor) {
    if (kernel.major != condition.majorVersion) return kernel.major > condition.majorVersion;
    if (condition.typeMask & VersionCondition::kMinor) {
      if (kernel.minor != condition.minorVersion) return kernel.minor > condition.minorVersion;
    }
    // The kernel is at service pack 0.0.
    if ((condition.typeMask & VersionCondition::kServicePackMajor) && condition.servicePackMajor > 0) return false;
    if ((condition.typeMask & VersionCondition::kServicePackMinor) && condition.servicePackMinor > 0) return false;
  }
  if (condition.typeMask & VersionCondition::kBuild) return kernel.patch >= condition.buildNumber;
  return true;
}

}  // namespace velinst::platform
