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

TEST(OsVersion, ProbeFillsEveryFieldOfWindows7Sp1) {
  FakeSystem system{6, 1, 7601, 1, 0};
  OsVersionRecord record = RecordOfSize(kExtendedVersionRecordSize);
  ASSERT_EQ(ProbeOsVersion(&record, system.Query()), 1);
  EXPECT_EQ(record.majorVersion, 6u);
  EXPECT_EQ(record.minorVersion, 1u);
  EXPECT_EQ(record.buildNumber, 7601u);
  EXPECT_EQ(record.platformId, 2u);
  EXPECT_STREQ(record.servicePackText, "Service Pack 1");
  EXPECT_EQ(record.servicePackMajor, 1);
  EXPECT_EQ(record.servicePackMinor, 0);
  EXPECT_EQ(record.suiteMask, 0xABAB);  // not the probe's to touch
  EXPECT_EQ(record.productType, 0xAB);
  EXPECT_EQ(OsCodeFromProbe(system.Query()), 5);
}

TEST(OsVersion, NoServicePackGivesEmptyText) {
  FakeSystem system{10, 0, 19045, 0, 0};
  OsVersionRecord record = RecordOfSize(kExtendedVersionRecordSize);
  ASSERT_EQ(ProbeOsVersion(&record, system.Query()), 1);
  EXPECT_STREQ(record.servicePackText, "");
  EXPECT_EQ(record.buildNumber, 19045u);
}

TEST(OsVersion, ShortRecordGetsNoServicePackNumbers) {
  FakeSystem system{5, 1, 2600, 3, 0};
  OsVersionRecord record = RecordOfSize(kShortVersionRecordSize);
  ASSERT_EQ(ProbeOsVersion(&record, system.Query()), 1);
  EXPECT_STREQ(record.servicePackText, "Service Pack 3");
  EXPECT_EQ(record.servicePackMajor, 0xABAB);
  EXPECT_EQ(record.servicePackMinor, 0xABAB);
}

TEST(OsVersion, WrongSizeOrNullRecordIsRefusedUnchanged) {
  FakeSystem system{6, 1, 7601, 1, 0};
  OsVersionRecord record = RecordOfSize(0);
  const OsVersionRecord before = record;
  EXPECT_EQ(ProbeOsVersion(&record, system.Query()), 0);
  EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
  EXPECT_EQ(ProbeOsVersion(nullptr, system.Query()), 0);
  EXPECT_EQ(system.calls, 0);
}

TEST(OsVersion, BuildNumbersAtTheTopOfTheRangeConverge) {
  for (const std::uint32_t build : {0x80000000u, 0x80000005u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0u, 1u}) {
    FakeSystem system{6, 2, build, 0, 0};
    OsVersionRecord record = RecordOfSize(kExtendedVersionRecordSize);
    ASSERT_EQ(ProbeOsVersion(&record, system.Query()), 1);
    EXPECT_EQ(record.buildNumber, build);
  }
}

TEST(OsVersion, BuildBisectionTakesAtMost33Questions) {
  FakeSystem system{0, 0, 7601, 0, 0};
  OsVersionRecord record = RecordOfSize(kExtendedVersionRecordSize);
  ASSERT_EQ(ProbeOsVersion(&record, system.Query()), 1);
  // Four fields of at most two candidates each, then the bisection.
  EXPECT_LE(system.calls, 8 + 33);
}

// A query that never bounds a field, and one that refuses even version 0
// (it failed: a settled value of 0 - 1 would read as version 4294967295).
TEST(OsVersion, QueryThatNeverOrAlwaysAnswersFalseFails) {
  for (const bool answer : {true, false}) {
    OsVersionRecord record = RecordOfSize(kExtendedVersionRecordSize);
    const OsVersionRecord before = record;
    const VerifyVersionQuery constant = [answer](const VersionCondition&) { return answer; };
    EXPECT_EQ(ProbeOsVersion(&record, constant), 0) << answer;
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << answer;
    EXPECT_EQ(OsCodeFromProbe(constant), 3) << answer;
  }
}

TEST(OsVersion, Version31GivesFour) {
  FakeSystem system{3, 1, 511, 0, 0};
  EXPECT_EQ(OsCodeFromProbe(system.Query()), 4);
}

TEST(OsVersion, RunningSystemIsCurrent) { EXPECT_EQ(VEL_MD_GetOS(), 5); }

}  // namespace
}  // namespace velinst
