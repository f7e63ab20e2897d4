#include "installer/os_version.h"

#include <cstdio>
#include <cstring>

namespace velinst {

namespace {

constexpr std::uint32_t kNtPlatform = 2;
constexpr std::uint32_t kCandidateLimit = 1000;

// Counts upward until the query first answers false; the field's value is
// the candidate before. False when no candidate below the limit bounds it, or
// when even 0 is refused (the query itself failed: there is no value to take).
template <typename Field>
bool ProbeField(VersionCondition& condition, Field& field, const VerifyVersionQuery& query) {
  for (std::uint32_t candidate = 0; candidate < kCandidateLimit; ++candidate) {
    field = static_cast<Field>(candidate);
    if (!query(condition)) {
      if (candidate == 0) return false;
      field = static_cast<Field>(candidate - 1);
      return true;
    }
  }
  return false;
}

// Bisection over the whole unsigned 32-bit range. The midpoint is taken in
// 64 bits: in 32 bits it wraps once the build number reaches 2^31.
std::uint32_t ProbeBuildNumber(const VerifyVersionQuery& query) {
  std::uint32_t low = 0;
  std::uint32_t high = 0xFFFFFFFFu;
  while (low != high) {
    std::uint32_t candidate =
        static_cast<std::uint32_t>((static_cast<std::uint64_t>(low) + high) / 2);
    if (candidate == low) candidate = high;
    VersionCondition condition;
    condition.typeMask = VersionCondition::kBuild;
    condition.buildNumber = candidate;
    if (query(condition))
      low = candidate;
    else
      high = candidate - 1;
  }
  return low;
}

}  // namespace

int ProbeOsVersion(OsVersionRecord* record, const VerifyVersionQuery& query) {
  if (record == nullptr) return 0;
  if (record->size != kShortVersionRecordSize && record->size != kExtendedVersionRecordSize) return 0;

  VersionCondition condition;
  condition.typeMask = VersionCondition::kVersionAndServicePack;
  if (!ProbeField(condition, condition.majorVersion, query)) return 0;
  if (!ProbeField(condition, condition.minorVersion, query)) return 0;
  if (!ProbeField(condition, condition.servicePackMajor, query)) return 0;
  if (!ProbeField(condition, condition.servicePackMinor, query)) return 0;
  const std::uint32_t build = ProbeBuildNumber(query);

  record->majorVersion = condition.majorVersion;
  record->minorVersion = condition.minorVersion;
  record->buildNumber = build;
  record->platformId = kNtPlatform;
  if (condition.servicePackMajor != 0)
    std::snprintf(record->servicePackText, sizeof record->servicePackText, "Service Pack %u",
                  static_cast<unsigned>(condition.servicePackMajor));
  else
    record->servicePackText[0] = '\0';
  if (record->size == kExtendedVersionRecordSize) {
    record->servicePackMajor = condition.servicePackMajor;
    record->servicePackMinor = condition.servicePackMinor;
  }
  return 1;
}

int OsCodeFromProbe(const VerifyVersionQuery& query) {
  OsVersionRecord record = {};
  record.size = kExtendedVersionRecordSize;
  ProbeOsVersion(&record, query);
  switch (record.platformId) {
    case 0:
      return 3;
    case 1:
      return 2;
    default:
      return record.majorVersion == 3 && record.minorVersion == 1 ? 4 : 5;
  }
}

}  // namespace velinst
