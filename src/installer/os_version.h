// Finding the operating system's version by probing a "verify version" query.
#pragma once

#include <cstdint>
#include <functional>

namespace velinst {

// Laid out as the platform's OSVERSIONINFOEXA: the short form ends after the
// service-pack text (148 bytes), the extended form is all of it (156 bytes).
struct OsVersionRecord {
  std::uint32_t size;
  std::uint32_t majorVersion;
  std::uint32_t minorVersion;
  std::uint32_t buildNumber;
  std::uint32_t platformId;
  char servicePackText[128];
  std::uint16_t servicePackMajor;
  std::uint16_t servicePackMinor;
  std::uint16_t suiteMask;
  std::uint8_t productType;
  std::uint8_t reserved;
};

inline constexpr std::uint32_t kShortVersionRecordSize = 148;
inline constexpr std::uint32_t kExtendedVersionRecordSize = 156;
static_assert(sizeof(OsVersionRecord) == kExtendedVersionRecordSize);

// One question to the system: "is it at least this version?", greater-or-
// equal on each field named in the type mask.
struct VersionCondition {
  static constexpr std::uint32_t kMinor = 0x01;
  static constexpr std::uint32_t kMajor = 0x02;
  static constexpr std::uint32_t kBuild = 0x04;
  static constexpr std::uint32_t kServicePackMinor = 0x10;
  static constexpr std::uint32_t kServicePackMajor = 0x20;
  static constexpr std::uint32_t kVersionAndServicePack = kMajor | kMinor | kServicePackMajor | kServicePackMinor;

  std::uint32_t typeMask = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint16_t servicePackMajor = 0;
  std::uint16_t servicePackMinor = 0;
};

using VerifyVersionQuery = std::function<bool(const VersionCondition&)>;

// Fills the record from the query's answers: 1 on success; 0, with the record
// untouched, for a null record, a size other than 148 or 156, or a field the
// query never bounds.
int ProbeOsVersion(OsVersionRecord* record, const VerifyVersionQuery& query);

// The operating-system code of the export: probes a zeroed extended record
// and maps it (3 when the probe fails, else 4 for version 3.1 and 5 for any
// other version).
int OsCodeFromProbe(const VerifyVersionQuery& query);

namespace platform {
// The running system's answer (VerifyVersionInfoA on Windows, the kernel's
// release numbers on the host).
bool VerifyVersion(const VersionCondition& condition);
}  // namespace platform

}  // namespace velinst
