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
  for (const char c : text) wide += {'\0', c};
  return wide;
}

// Big-endian, as every number of the file.
void Put(std::string& out, std::uint32_t value, int bytes = 2) {
  for (int shift = 8 * bytes - 8; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

// A font file built byte by byte: offset table, directory, a few small
// tables and the name table last.
struct FontFile {
  std::uint32_t version = 0x00010000;
  std::vector<std::string> tags = {"cmap", "head", "name"};
  std::vector<NameEntry> names;

  std::size_t NameTableOffset() const { return 12 + 16 * tags.size() + 4 * (tags.size() - 1); }

  std::string Bytes() const {
    std::string out;
    Put(out, version, 4);
    Put(out, static_cast<std::uint32_t>(tags.size()));
    out.append(6, '\0');
    std::string table(2, '\0');
    Put(table, static_cast<std::uint32_t>(names.size()));
    Put(table, static_cast<std::uint32_t>(6 + 12 * names.size()));
    std::string storage;
    for (const NameEntry& name : names) {
      const bool windows = name.platform == kWindows;
      for (const std::size_t field :
           {std::size_t{name.platform}, std::size_t{windows}, windows ? 0x0409 : std::size_t{0},
            std::size_t{name.nameId}, name.bytes.size(), storage.size()})
        Put(table, static_cast<std::uint32_t>(field));
      storage += name.bytes;
    }
    table += storage;
    std::size_t offset = NameTableOffset() - 4 * (tags.size() - 1);
    for (std::size_t i = 0; i < tags.size(); ++i) {
      out += tags[i] + std::string(4, '\0');
      Put(out, static_cast<std::uint32_t>(offset), 4);
      Put(out, static_cast<std::uint32_t>(i + 1 == tags.size() ? table.size() : 4), 4);
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

// Only TrueType version 1 is read; the name tag is found in any case, and an empty tag ends the directory.
TEST(FontName, NamesFromTheNameTable) {
  const std::vector<NameEntry> both = {kMacFamily, kMacFull};
  struct Case {
    const char* what;
    std::vector<NameEntry> names;
    int familyFound;
    std::string name;
    std::uint32_t version = 0x00010000;
    std::vector<std::string> tags = {"cmap", "head", "name"};
  } cases[] = {
      {"long name cut to 127 bytes", {{kMac, 1, std::string(300, 'F')}}, 1, std::string(kFontNameLimit, 'F')},
      {"family and full name", both, 1, "Velinst Sans Bold"},
      {"full name only", {kMacFull}, 0, "Velinst Sans Bold"},
      {"windows before macintosh", {kWindowsFamily, kWindowsFull, kMacFamily, kMacFull}, 1, "Velinst Sans Bold"},
      {"first of each wins", {kMacFamily, {kMac, 1, "Other"}, kMacFull, {kMac, 4, "Other"}}, 1, "Velinst Sans Bold"},
      {"empty strings do not count", {{kMac, 1, ""}, {kMac, 4, std::string("\0x", 2)}, kMacFamily}, 1, "Velinst Sans"},
      {"string ends at its NUL", {{kMac, 1, std::string("Velinst\0Sans", 12)}}, 1, "Velinst"},
      {"a collection", both, 0, "", 0x74746366},  // "ttcf"
      {"version 1.1", both, 0, "", 0x00010001},
      {"tag in any case", both, 1, "Velinst Sans Bold", 0x00010000, {"NaMe"}},
      {"no name tag", both, 0, "", 0x00010000, {"cmap", "head", "nam "}},
      {"empty tag ends", both, 0, "", 0x00010000, {"cmap", std::string("\0ead", 4), "name"}}};
  for (const Case& c : cases) {
    FontFile font;
    font.version = c.version;
    font.tags = c.tags;
    font.names = c.names;
    const FontName found = Read(font.Bytes());
    EXPECT_EQ(std::to_string(found.familyFound) + found.name, std::to_string(c.familyFound) + c.name) << c.what;
  }
}

// Files cut short keep what was found before the end; damaged offsets and
// counts are never followed outside the file.
TEST(FontName, DamagedFilesKeepWhatWasFoundAndStayInsideTheFile) {
  FontFile font;
  font.names = {kMacFamily, {kMac, 2, "Bold"}, kMacFull};
  const std::string whole = font.Bytes();
  const std::size_t table = font.NameTableOffset(), storage = table + 6 + 12 * 3, nameEntry = 12 + 16 * 2;
  const std::size_t all = whole.size();
  const auto end = static_cast<std::uint32_t>(all - 3);
  struct Case {
    std::size_t length, at;
    std::uint32_t value;
    int width;
    int familyFound;
    const char* name;  // null: not checked
  } cases[] = {{0, 0, 0, 0, 0, ""},
               {12 + 16 * 3 - 1, 0, 0, 0, 0, ""},           // inside the directory
               {table + 6 + 12 - 1, 0, 0, 0, 0, ""},        // inside the first record
               {storage + 11, 0, 0, 0, 0, ""},              // the family string cut short
               {storage + 12, 0, 0, 0, 1, "Velinst Sans"},  // the full name's string is missing
               {all - 1, 0, 0, 0, 1, "Velinst Sans"},
               {all, 4, 0xFFFF, 2, 1, "Velinst Sans Bold"},  // table count beyond the file
               {all, nameEntry + 8, end, 4, 0, ""},
               {all, table + 2, 0xFFFF, 2, 1, "Velinst Sans Bold"},        // record count beyond the file
               {all, table + 4, 0xFFFF, 2, 0, nullptr},                    // storage outside
               {all, table + 6 + 8, 0xFFFF, 2, 0, nullptr},                // string length beyond the file
               {all, table + 6 + 24 + 10, 0xFFF0, 2, 1, "Velinst Sans"}};  // full name's string outside
  for (const Case& c : cases) {
    std::string bytes = whole.substr(0, c.length), field;
    Put(field, c.value, c.width);
    if (c.width != 0) bytes.replace(c.at, field.size(), field);
    const FontName found = Read(bytes);
    EXPECT_EQ(found.familyFound, c.familyFound) << c.length << " " << c.at;
    EXPECT_EQ(found.name, c.name ? c.name : found.name) << c.length << " " << c.at;
  }
}

// The reader's results are the table tests'; here what the export copies.
TEST(FontNameExport, CopiesAtMostSizeCharactersAndATerminator) {
  test::TempDir dir;
  FontFile font;
  font.names = {kMacFamily, kMacFull};
  test::WriteWholeFile(dir.File("a.ttf"), font.Bytes());
  const struct {
    std::string path;
    int size, result;
    std::string start;
  } cases[] = {{dir.File("a.ttf"), 5, 1, std::string("Velin\0#", 7)},
               {dir.File("a.ttf"), 31, 1, std::string("Velinst Sans Bold\0", 18)},
               {dir.File("a.ttf"), 0, 1, std::string("\0#", 2)},
               {dir.File("missing.ttf"), 31, 0, std::string("\0#", 2)},
               {dir.Path(), 31, 0, std::string("\0#", 2)}};
  for (const auto& c : cases) {
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(VEL_FontNameFile(c.path.c_str(), buffer, c.size), c.result) << c.path << " " << c.size;
    EXPECT_EQ(std::string(buffer, c.start.size()), c.start) << c.path << " " << c.size;
  }
  char buffer[32];
  EXPECT_EQ(VEL_FontNameFile(nullptr, buffer, 31) + VEL_FontNameFile("font.ttf", nullptr, 31), 0);
}

}  // namespace
}  // namespace velinst
