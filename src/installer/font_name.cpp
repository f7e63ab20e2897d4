#include "installer/font_name.h"

#include <algorithm>
#include <array>

namespace velinst {

namespace {

// TrueType numbers are big-endian.
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

constexpr std::size_t kOffsetTableSize = 12;
constexpr std::size_t kDirectoryRecordSize = 16;
constexpr std::size_t kNameHeaderSize = 6;
constexpr std::size_t kNameRecordSize = 12;
constexpr std::uint16_t kFamilyNameId = 1;
constexpr std::uint16_t kFullNameId = 4;

bool IsNameTag(const std::uint8_t* tag) {
  static constexpr char kName[] = "name";
  for (std::size_t i = 0; i < 4; ++i) {
    std::uint8_t c = tag[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<std::uint8_t>(c + ('a' - 'A'));
    if (c != static_cast<std::uint8_t>(kName[i])) return false;
  }
  return true;
}

// The offset of the `name` table, or false when the directory has none.
bool FindNameTable(ByteSource& bytes, std::uint16_t tableCount, std::uint64_t& offset) {
  std::array<std::uint8_t, kDirectoryRecordSize> record;
  for (std::uint64_t i = 0; i < tableCount; ++i) {
    if (!bytes.Read(kOffsetTableSize + i * kDirectoryRecordSize, record)) return false;
    if (record[0] == 0) return false;  // the directory ends early
    if (IsNameTag(record.data())) {
      offset = U32(&record[8]);
      return true;
    }
  }
  return false;
}

// The string of one name record as a C text: up to its first NUL, at most
// kFontNameLimit bytes. False when the file does not hold the whole string.
bool ReadNameString(ByteSource& bytes, std::uint64_t offset, std::uint16_t length, std::string& text) {
  if (!bytes.Holds(offset, length)) return false;
  std::array<std::uint8_t, kFontNameLimit> head;
  const std::span<std::uint8_t> wanted(head.data(), std::min<std::size_t>(length, head.size()));
  if (!bytes.Read(offset, wanted)) return false;
  const auto end = std::find(wanted.begin(), wanted.end(), std::uint8_t{0});
  text.assign(wanted.begin(), end);
  return true;
}

}  // namespace

FontName ReadFontName(ByteSource& bytes) {
  FontName result;
  std::array<std::uint8_t, kOffsetTableSize> offsetTable;
  if (!bytes.Read(0, offsetTable)) return result;
  // Version 1.0 only: collections ("ttcf") and other outlines ("OTTO",
  // "true") are refused.
  if (U16(&offsetTable[0]) != 1 || U16(&offsetTable[2]) != 0) return result;

  std::uint64_t tableOffset = 0;
  if (!FindNameTable(bytes, U16(&offsetTable[4]), tableOffset)) return result;
  std::array<std::uint8_t, kNameHeaderSize> header;
  if (!bytes.Read(tableOffset, header)) return result;
  const std::uint16_t recordCount = U16(&header[2]);
  const std::uint64_t storage = tableOffset + U16(&header[4]);

  std::string fullName;
  std::string familyName;
  std::array<std::uint8_t, kNameRecordSize> record;
  std::string text;
  for (std::uint64_t i = 0; i < recordCount && (fullName.empty() || familyName.empty()); ++i) {
    if (!bytes.Read(tableOffset + kNameHeaderSize + i * kNameRecordSize, record)) break;
    // Platform, encoding and language are not consulted: 16-bit strings of
    // Latin names begin with a 0 byte and so never count.
    const std::uint16_t nameId = U16(&record[6]);
    if (nameId != kFamilyNameId && nameId != kFullNameId) continue;
    if (!ReadNameString(bytes, storage + U16(&record[10]), U16(&record[8]), text)) break;
    if (text.empty()) continue;
    if (nameId == kFamilyNameId) {
      if (familyName.empty()) familyName = text;
      result.familyFound = 1;
    } else if (fullName.empty()) {
      fullName = text;
    }
  }
  result.name = fullName.empty() ? familyName : fullName;
  return result;
}

}  // namespace velinst
