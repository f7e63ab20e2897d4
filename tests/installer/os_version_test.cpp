#include "installer/os_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "velinst.h"

namespace velinst {
namespace {

struct FakeSystem {
  std::uint32_t major, minor, build;
  std::uint16_t spMajor, spMinor;
  int calls = 0;

  // Greater-or-equal as the system evaluates it: version and service pack in
  // order, the build number on its own.
  VerifyVersionQuery Query() {
    return [this](const VersionCondition& c) {
      ++calls;
      if (c.typeMask & VersionCondition::kBuild) return build >= c.buildNumber;
      return std::tie(major, minor, spMajor, spMinor) >=
             std::tie(c.majorVersion, c.minorVersion, c.servicePackMajor, c.servicePackMinor);
    };
  }
};

OsVersionRecord RecordOfSize(std::uint32_t size) {
  OsVersionRecord record;
  std::memset(&record, 0xAB, sizeof record);
  record.size = size;
  return record;
}

// Every field as text; the fields past the service pack numbers are not the probe's to touch.
std::string Fields(const OsVersionRecord& r) {
  return std::to_string(r.majorVersion) + "." + std::to_string(r.minorVersion) + "." + std::to_string(r.buildNumber) +
         " " + std::to_string(r.platformId) + " '" + r.servicePackText + "' " + std::to_string(r.servicePackMajor) +
         "." + std::to_string(r.servicePackMinor) + " " + std::to_string(r.suiteMask) + " " +
         std::to_string(r.productType);
}

TEST(OsVersion, ProbeFillsEveryFieldTheRecordSizeHolds) {
  struct {
    FakeSystem system;
    std::uint32_t size;
    const char* fields;
  } cases[] = {{{6, 1, 7601, 1, 0}, kExtendedVersionRecordSize, "6.1.7601 2 'Service Pack 1' 1.0 43947 171"},
               // the short record has no service pack numbers
               {{5, 1, 2600, 3, 0}, kShortVersionRecordSize, "5.1.2600 2 'Service Pack 3' 43947.43947 43947 171"},
               {{0, 0, 0xFFFFFFFF, 0, 0}, kExtendedVersionRecordSize, "0.0.4294967295 2 '' 0.0 43947 171"},
               {{0, 0, 0x80000005, 0, 0}, kExtendedVersionRecordSize, "0.0.2147483653 2 '' 0.0 43947 171"},
               {{0, 0, 0, 0, 0}, kExtendedVersionRecordSize, "0.0.0 2 '' 0.0 43947 171"}};
  // Builds of version 0: four fields of at most two candidates each, then a bisection of at most 33 questions.
  for (auto c : cases) {
    OsVersionRecord record = RecordOfSize(c.size);
    ASSERT_EQ(ProbeOsVersion(&record, c.system.Query()), 1);
    EXPECT_EQ(Fields(record), c.fields);
    EXPECT_TRUE(c.system.major != 0 || c.system.calls <= 8 + 33) << c.fields;
  }
  EXPECT_EQ(OsCodeFromProbe(cases[0].system.Query()), 5);
  EXPECT_EQ(OsCodeFromProbe(FakeSystem{3, 1, 511, 0, 0}.Query()), 4);
  EXPECT_EQ(VEL_MD_GetOS(), 5);
}

// A wrong size; a query that never bounds a field, and one that refuses even
// version 0 (it failed: a settled value of 0 - 1 would read as version 4294967295).
TEST(OsVersion, RefusedProbeLeavesTheRecordUnchanged) {
  FakeSystem system{6, 1, 7601, 1, 0};
  const VerifyVersionQuery queries[] = {system.Query(), [](const VersionCondition&) { return true; },
                                        [](const VersionCondition&) { return false; }};
  for (int i = 0; i < 3; ++i) {
    OsVersionRecord record = RecordOfSize(i == 0 ? 0 : kExtendedVersionRecordSize);
    const OsVersionRecord before = record;
    EXPECT_EQ(ProbeOsVersion(&record, queries[i]), 0) << i;
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << i;
    EXPECT_EQ(i == 0 ? 3 : OsCodeFromProbe(queries[i]), 3) << i;
  }
  EXPECT_EQ(ProbeOsVersion(nullptr, system.Query()), 0);
  EXPECT_EQ(system.calls, 0);
}

}  // namespace
}  // namespace velinst
