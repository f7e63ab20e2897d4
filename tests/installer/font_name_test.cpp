#include "installer/font_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "velinst.h"

namespace velinst {
namespace {

constexpr std::uint16_t kMac = 1;
constexpr std::uint16_t kWindows = 3;

struct NameEntry {
  std::uint16_t platform;
  std::uint16_t nameId;
  std::string bytes;
};

std::string Utf16BigEndian(const std::string& text) {
  std::string wide;
  for (const char c : text) {
    wide += '\0';
    wide += c;
  }
  return wide;
}

void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value >> 8 & 0xFF);
  out += static_cast<char>(value & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value >> 16);
  Put16(out, value & 0xFFFF);
}

// A font file built byte by byte: offset table, directory, a few small
// tables and the name table last.
struct FontFile {
  std::uint32_t version = 0x00010000;
  std::vector<std::string> tags = {"cmap", "head", "name"};
  std::vector<NameEntry> names;

  std::size_t DirectoryOffset() const { return 12; }
  std::size_t NameTableOffset() const { return 12 + 16 * tags.size() + 4 * (tags.size() - 1); }

  std::string Bytes() const {
    std::string out;
    Put32(out, version);
    Put16(out, static_cast<std::uint32_t>(tags.size()));
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    std::string table;
    Put16(table, 0);
    Put16(table, static_cast<std::uint32_t>(names.size()));
    Put16(table, static_cast<std::uint32_t>(6 + 12 * names.size()));
    std::string storage;
    for (const NameEntry& name : names) {
      Put16(table, name.platform);
      Put16(table, name.platform == kWindows ? 1 : 0);
      Put16(table, name.platform == kWindows ? 0x0409 : 0);
      Put16(table, name.nameId);
      Put16(table, static_cast<std::uint32_t>(name.bytes.size()));
      Put16(table, static_cast<std::uint32_t>(storage.size()));
      storage += name.bytes;
    }
    table += storage;
    std::size_t offset = NameTableOffset() - 4 * (tags.size() - 1);
    for (std::size_t i = 0; i < tags.size(); ++i) {
      const bool isName = i + 1 == tags.size();
      out += tags[i];
      Put32(out, 0);
      Put32(out, static_cast<std::uint32_t>(offset));
      Put32(out, static_cast<std::uint32_t>(isName ? table.size() : 4));
      offset += 4;
    }
    for (std::size_t i = 0; i + 1 < tags.size(); ++i) out += "\x01\x02\x03\x04";
    return out + table;
  }
};

FontName Read(const std::string& bytes) {
  MemoryBytes source(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  return ReadFontName(source);
}

const NameEntry kMacFamily{kMac, 1, "Velinst Sans"};
const NameEntry kMacFull{kMac, 4, "Velinst Sans Bold"};
const NameEntry kWindowsFamily{kWindows, 1, Utf16BigEndian("Velinst Sans")};
const NameEntry kWindowsFull{kWindows, 4, Utf16BigEndian("Velinst Sans Bold")};

TEST(FontName, NamesFromMacintoshRecords) {
  struct Case {
    const char* what;
    std::vector<NameEntry> names;
    int familyFound;
    const char* name;
  } cases[] = {
      {"family and full name", {kMacFamily, kMacFull}, 1, "Velinst Sans Bold"},
      {"full name first", {kMacFull, kMacFamily}, 1, "Velinst Sans Bold"},
      {"family only", {kMacFamily}, 1, "Velinst Sans"},
      {"full name only", {kMacFull}, 0, "Velinst Sans Bold"},
      {"windows records only", {kWindowsFamily, kWindowsFull}, 0, ""},
      {"windows before macintosh", {kWindowsFamily, kWindowsFull, kMacFamily, kMacFull}, 1, "Velinst Sans Bold"},
      {"first of each wins",
       {kMacFamily, {kMac, 1, "Other"}, kMacFull, {kMac, 4, "Other Bold"}},
       1,
       "Velinst Sans Bold"},
      {"other name ids", {{kMac, 2, "Bold"}, {kMac, 6, "VelinstSans-Bold"}}, 0, ""},
      {"empty strings do not count", {{kMac, 1, ""}, {kMac, 4, std::string("\0x", 2)}, kMacFamily}, 1, "Velinst Sans"},
      {"string ends at its NUL", {{kMac, 1, std::string("Velinst\0Sans", 12)}}, 1, "Velinst"},
      {"no names", {}, 0, ""},
  };
  for (const Case& c : cases) {
    FontFile font;
    font.names = c.names;
    const FontName found = Read(font.Bytes());
    EXPECT_EQ(found.familyFound, c.familyFound) << c.what;
    EXPECT_EQ(found.name, c.name) << c.what;
  }
}

TEST(FontName, OnlyTrueTypeVersionOneIsRead) {
  struct Case {
    std::uint32_t version;
    int familyFound;
  } cases[] = {
      {0x00010000, 1}, {0x74746366, 0},  // "ttcf": a collection
      {0x4F54544F, 0},                   // "OTTO": other outlines
      {0x74727565, 0},                   // "true"
      {0x00010001, 0}, {0x00020000, 0},
  };
  for (const Case& c : cases) {
    FontFile font;
    font.version = c.version;
    font.names = {kMacFamily};
    EXPECT_EQ(Read(font.Bytes()).familyFound, c.familyFound) << std::hex << c.version;
  }
}

TEST(FontName, NameTagIsFoundInAnyCaseAndAnEmptyTagEndsTheDirectory) {
  struct Case {
    std::vector<std::string> tags;
    int familyFound;
  } cases[] = {
      {{"cmap", "head", "NAME"}, 1},
      {{"NaMe"}, 1},
      {{"cmap", "head", "nam "}, 0},
      {{"cmap", std::string("\0ead", 4), "name"}, 0},
      {{"cmap", "head", std::string("na\0\0", 4)}, 0},
  };
  for (const Case& c : cases) {
    FontFile font;
    font.tags = c.tags;
    font.names = {kMacFamily};
    EXPECT_EQ(Read(font.Bytes()).familyFound, c.familyFound) << c.tags.back();
  }
}

TEST(FontName, LongNamesAreCutTo127Bytes) {
  FontFile font;
  font.names = {{kMac, 1, std::string(300, 'F')}};
  const FontName found = Read(font.Bytes());
  EXPECT_EQ(found.familyFound, 1);
  EXPECT_EQ(found.name, std::string(kFontNameLimit, 'F'));
}

TEST(FontName, TruncatedFilesKeepWhatWasFoundBeforeTheEnd) {
  FontFile font;
  font.names = {kMacFamily, {kMac, 2, "Bold"}, kMacFull};
  const std::string whole = font.Bytes();
  const std::size_t table = font.NameTableOffset();
  const std::size_t storage = table + 6 + 12 * 3;
  struct Case {
    std::size_t length;
    int familyFound;
    const char* name;
  } cases[] = {
      {0, 0, ""},
      {11, 0, ""},                        // inside the offset table
      {12 + 16 * 3 - 1, 0, ""},           // inside the directory
      {table + 5, 0, ""},                 // inside the name table's header
      {table + 6 + 12 - 1, 0, ""},        // inside the first record
      {storage + 11, 0, ""},              // the family string cut short
      {storage + 12, 1, "Velinst Sans"},  // the full name's string is missing
      {whole.size() - 1, 1, "Velinst Sans"},
      {whole.size(), 1, "Velinst Sans Bold"},
  };
  for (const Case& c : cases) {
    const FontName found = Read(whole.substr(0, c.length));
    EXPECT_EQ(found.familyFound, c.familyFound) << c.length;
    EXPECT_EQ(found.name, c.name) << c.length;
  }
}

TEST(FontName, CorruptOffsetsAndCountsStayInsideTheFile) {
  FontFile font;
  font.names = {kMacFamily, kMacFull};
  const std::string whole = font.Bytes();
  const std::size_t table = font.NameTableOffset();
  const auto patched = [&](std::size_t at, std::uint32_t value, int width) {
    std::string bytes = whole;
    std::string field;
    if (width == 2)
      Put16(field, value);
    else
      Put32(field, value);
    bytes.replace(at, field.size(), field);
    return Read(bytes);
  };
  const std::size_t nameEntry = 12 + 16 * 2;
  EXPECT_EQ(patched(4, 0xFFFF, 2).name, "Velinst Sans Bold");  // table count beyond the file
  EXPECT_EQ(patched(nameEntry + 8, 0xFFFFFFF0u, 4).name, "");  // name table far outside
  EXPECT_EQ(patched(nameEntry + 8, static_cast<std::uint32_t>(whole.size() - 3), 4).name, "");
  EXPECT_EQ(patched(table + 2, 0xFFFF, 2).name, "Velinst Sans Bold");  // record count beyond the file
  EXPECT_EQ(patched(table + 4, 0xFFFF, 2).familyFound, 0);             // storage outside
  EXPECT_EQ(patched(table + 6 + 8, 0xFFFF, 2).familyFound, 0);         // string length beyond the file
  EXPECT_EQ(patched(table + 6 + 10, 0xFFFF, 2).familyFound, 0);        // string offset beyond the file
  const FontName second = patched(table + 6 + 12 + 10, 0xFFF0, 2);     // full name's string outside
  EXPECT_EQ(second.familyFound, 1);
  EXPECT_EQ(second.name, "Velinst Sans");
}

class FontNameExport : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    const std::string path = dir_.File("font.ttf");
    test::WriteWholeFile(path, bytes);
    return path;
  }
  test::TempDir dir_;
};

TEST_F(FontNameExport, CopiesAtMostSizeCharactersAndATerminator) {
  FontFile font;
  font.names = {kMacFamily, kMacFull};
  const std::string path = Write(font.Bytes());
  char buffer[32];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(VEL_FontNameFile(path.c_str(), buffer, 5), 1);
  EXPECT_EQ(std::string(buffer, 7), std::string("Velin\0#", 7));

  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(VEL_FontNameFile(path.c_str(), buffer, 31), 1);
  EXPECT_STREQ(buffer, "Velinst Sans Bold");

  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(VEL_FontNameFile(path.c_str(), buffer, 0), 1);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], '#');
}

TEST_F(FontNameExport, FailuresLeaveAnEmptyBuffer) {
  FontFile windowsOnly;
  windowsOnly.names = {kWindowsFamily, kWindowsFull};
  FontFile fullOnly;
  fullOnly.names = {kMacFull};
  struct Case {
    std::string path;
    int result;
    const char* name;
  } cases[] = {
      {dir_.File("missing.ttf"), 0, ""},
      {dir_.Path(), 0, ""},
      {Write("ttcf"), 0, ""},
      {Write(windowsOnly.Bytes()), 0, ""},
  };
  for (const Case& c : cases) {
    char buffer[32] = "previous";
    EXPECT_EQ(VEL_FontNameFile(c.path.c_str(), buffer, 31), c.result) << c.path;
    EXPECT_STREQ(buffer, c.name) << c.path;
  }
  char buffer[32] = "previous";
  EXPECT_EQ(VEL_FontNameFile(Write(fullOnly.Bytes()).c_str(), buffer, 31), 0);
  EXPECT_STREQ(buffer, "Velinst Sans Bold");
  EXPECT_EQ(VEL_FontNameFile(nullptr, buffer, 31), 0);
  EXPECT_EQ(VEL_FontNameFile("font.ttf", nullptr, 31), 0);
}

}  // namespace
}  // namespace velinst
