#include "packlist/region_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "pack_list_test_support.h"

namespace velinst::packlist {
namespace {

using test::RegionFile;
using test::Series;

ScaleInfoTable Read(const std::string& text) {
  ScaleInfoTable table;
  const RegionReadResult result = ParseRegion(text, table);
  EXPECT_EQ(result.fault, RegionFault::kNone) << "line " << result.line << ": " << result.problem;
  return table;
}

std::vector<std::string> Codes(const std::vector<SheetRecord>& sheets) {
  std::vector<std::string> codes;
  for (const SheetRecord& sheet : sheets) codes.push_back(sheet.cellCode);
  return codes;
}

// A region whose header ends with `countLine`, followed by `rest`.
std::string WithHeader(const std::string& countLine, const std::string& rest, const std::string& version = "2.0") {
  return "Title\nsecond\n" + version + "\n// comment\n\np\nd\nu\ne\n" + countLine + "\n" + rest;
}

// One entry from its scale line to its sheet list (blank rectangle line).
std::string Entry(const std::string& scaleLine, const std::string& list) {
  return scaleLine + "\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n\n// sheets\n" + list;
}

TEST(RegionReader, BlankCountLineYieldsTwoEntriesAndCountBelowOneNone) {
  const ScaleInfoTable table =
      Read(WithHeader("", Entry("24, \"a\"", "0, \"x\", \"\"\n\n") + Entry("100, \"b\"", "0, \"x\", \"\"\n\n")));
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[1].denominator, 100000);
  for (const char* count : {"0", "-3", "none"}) {
    EXPECT_TRUE(Read(WithHeader(count, Entry("24, \"a\"", "0, \"x\", \"\"\n"))).entries.empty()) << count;
  }
}

TEST(RegionReader, ScaleCodesBecomeDenominators) {
  const struct {
    const char* code;
    std::int32_t denominator;
  } cases[] = {{"24", 24000}, {"100", 100000}, {"250", 250000},           {"63", 63360}, {"31", 31680},
               {"62", 62500}, {"332", 232188}, {"24000", 24000},          {"50", 50000}, {"1000", 1000},
               {"x", 0},      {"-5", -5000},   {"-2147483647", INT32_MIN}};
  for (const auto& c : cases) {
    const ScaleInfoTable table = Read(WithHeader("1", Entry(std::string(c.code) + ", \"s\"", "end\n")));
    ASSERT_EQ(table.entries.size(), 1u);
    EXPECT_EQ(table.entries[0].denominator, c.denominator) << c.code;
  }
}

TEST(RegionReader, CellSizesDefaultByEntryPositionOrComeFromTheScaleLine) {
  const ScaleInfoTable table = Read(WithHeader("3", Entry("24, \"first\"", "end\n") + Entry("24, \"second\"", "end\n") +
                                                        Entry("100, \"third\", 1.5, 0.25", "end\n")));
  std::vector<double> sizes;
  for (const ScaleEntry& entry : table.entries) sizes.insert(sizes.end(), {entry.longitudeCellSize, entry.latitudeCellSize});
  EXPECT_EQ(sizes, (std::vector<double>{0.125, 0.125, 1.0, 0.5, 1.5, 0.25}));
  EXPECT_EQ(std::string(table.entries[2].scaleName) + " " + std::to_string(table.entries[2].formatVersion), "third 2.000000");
}

TEST(RegionReader, LastSheetLineIsNeverASheet) {
  const ScaleInfoTable table = Read(RegionFile(
      "2.0", {{"24, \"s\"", {"0, \"37122-A1\", \"a\"", "0, \"37122-A2\", \"b\"", "0, \"37122-A3\", \"c\""}}}));
  // RegionFile closes every list with a fourth sheet line.
  EXPECT_EQ(Codes(table.entries[0].primary), (std::vector<std::string>{"37122-A1", "37122-A2", "37122-A3", ""}));
  EXPECT_EQ(table.entries[0].PrimaryCount(), 3u);
  EXPECT_TRUE(table.entries[0].primary.back().IsEnd());

  // Whatever the last line holds, it is not checked.
  const ScaleInfoTable unchecked = Read(
      WithHeader("1", Entry("24, \"s\"", "0, \"37122-A1\", \"a\"\n12 no quotes, " + std::string(600, 'x') + "\n")));
  EXPECT_EQ(Codes(unchecked.entries[0].primary), (std::vector<std::string>{"37122-A1", ""}));
}

TEST(RegionReader, ListEndsAtBlankSingleSlashBlankLedLineOrEndOfFile) {
  for (const char* ending : {"\n", "/ end\n", "/\n", " 0, \"37122-B1\", \"b\"\n", ""}) {
    const std::string list = std::string("0, \"37122-A1\", \"a\"\n// a comment, neither counted nor taken\n") +
                             "0, \"37122-A2\", \"closes\"\n" + ending;
    const std::string text =
        WithHeader("2", Entry("24, \"s\"", list) + Entry("100, \"t\"", "0, \"37122-E1\", \"e\"\n0, \"\", \"\"\n"));
    if (*ending == '\0') {
      // The end of the file ends the list as its ending line would; the second entry is missing.
      ScaleInfoTable table;
      EXPECT_EQ(ParseRegion(WithHeader("1", Entry("24, \"s\"", list)), table).fault, RegionFault::kNone);
      EXPECT_EQ(Codes(table.entries[0].primary), (std::vector<std::string>{"37122-A1", ""}));
      continue;
    }
    const ScaleInfoTable table = Read(text);
    ASSERT_EQ(table.entries.size(), 2u) << ending;
    EXPECT_EQ(Codes(table.entries[0].primary), (std::vector<std::string>{"37122-A1", ""})) << ending;
    EXPECT_EQ(Codes(table.entries[1].primary), (std::vector<std::string>{"37122-E1", ""})) << ending;
  }
}

TEST(RegionReader, SetAsideSheetsGoToTheirOwnList) {
  const ScaleInfoTable table = Read(RegionFile(
      "2.0", {{"24, \"s\"", {"16, \"37122-A1\", \"a\"", "0, \"37122-A2\", \"b\"", "18, \"37122-A3\", \"c\""}}}));
  const ScaleEntry& entry = table.entries[0];
  EXPECT_EQ(Codes(entry.primary), (std::vector<std::string>{"37122-A2", ""}));
  EXPECT_EQ(Codes(entry.setAside), (std::vector<std::string>{"37122-A1", "37122-A3"}));
  EXPECT_EQ(entry.SetAsideCount(), 2u);
  EXPECT_EQ(entry.setAside[1].flags, 18);
}

TEST(RegionReader, FirstFormatVersionMapsLongitudesFromZeroTo360) {
  const std::vector<Series> series = {
      {"24, \"s\"",
       {"8, \"37122-A1\", \"a\", 37.0, 237.5, 37.5, 122.5", "4, \"37122-A2\", \"b\",37.0,-122.5,37.5,180"}}};
  for (const char* version : {"1.0", "2.0"}) {
    std::vector<double> edges;
    const ScaleInfoTable table = Read(RegionFile(version, series));
    for (const SheetRecord& sheet : table.entries[0].primary)
      if (!sheet.IsEnd()) edges.insert(edges.end(), {sheet.south, sheet.east, sheet.north, sheet.west});
    const std::vector<double> first = {37, -122.5, 37.5, 122.5, 37, -122.5, 37.5, -180};
    const std::vector<double> second = {37, 237.5, 37.5, 122.5, 37, -122.5, 37.5, 180};
    EXPECT_EQ(edges, *version == '1' ? first : second);
  }
}

TEST(RegionReader, RectangleLinesAreOneBlankOrTwoFilled) {
  const std::string twoLines =
      "24, \"s\"\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n37.0, -122.0, 38.0, -123.0,\n"
      "37.0, -122.0, 38.0, -123.0,\n// sheets\n0, \"37122-A1\", \"a\"\n0, \"\", \"\"\n";
  EXPECT_EQ(Codes(Read(WithHeader("1", twoLines)).entries[0].primary), (std::vector<std::string>{"37122-A1", ""}));

  // After a blank first rectangle line the next line already belongs to the
  // comments before the list: a digit-led one starts the list.
  const std::string blankThenSheets =
      "24, \"s\"\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n\n0, \"37122-A1\", \"a\"\n0, \"\", \"\"\n";
  EXPECT_EQ(Codes(Read(WithHeader("1", blankThenSheets)).entries[0].primary),
            (std::vector<std::string>{"37122-A1", ""}));
}

TEST(RegionReader, TextsLongerThanTheirFieldsAreCut) {
  const std::string name(60, 'n');
  const std::string code(20, 'c');
  const std::string description(80, 'd');
  // Descriptions point into the table's text: the table must outlive them.
  const ScaleInfoTable table =
      Read(RegionFile("2.0", {{"24, \"" + name + "\"", {"0, \"" + code + "\", \"" + description + "\""}}}));
  const ScaleEntry& entry = table.entries[0];
  EXPECT_EQ(std::string(entry.scaleName), name.substr(0, 43));
  EXPECT_EQ(std::string(entry.primary[0].cellCode), code.substr(0, 15));
  EXPECT_EQ(entry.primary[0].description, description.substr(0, 63));
}

TEST(RegionReader, LayoutBreaksRefuseTheWholeFile) {
  const std::string header = WithHeader("1", "");  // 10 lines
  const std::string closing = "0, \"\", \"\"\n";
  const auto sheet = [&](const std::string& line) { return WithHeader("1", Entry("24, \"s\"", line + "\n" + closing)); };
  const char* const offGlobe = "a rectangle coordinate that is not finite or lies off the globe";
  const struct {
    std::string text;
    int line;
    const char* problem;
  } cases[] = {
      {"", 1, "the file ends before its header is complete"},
      {"T\ns\n2.0\n// c\n\n", 6, "the file ends before its header is complete"},
      {"T\ns\n2.0\np\nd\nu\ne\n", 8, "the file ends before its header is complete"},
      {WithHeader("3", Entry("24, \"s\"", "0, \"a\", \"a\"\n" + closing + "\n")), 20,
       "3 scale entries announced, the file ends after 1"},
      {WithHeader("2000000000", ""), 11, "2000000000 scale entries announced, the file ends after 0"},
      {header + "24, \"s\"\n1.0, 2.0, 3.0, 4.0\n", 13, "the file ends before the sheet list of scale entry 1 begins"},
      {header + "24, \"s\"\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n37, 1, 2, 3,\n", 16,
       "the file ends before the sheet list of scale entry 1 begins"},
      {sheet("0, \"37122-A1\", \"a"), 17, "a sheet line without its four double quotes"},
      {sheet("8, \"a\", \"b\", 37.0 , -122.0, 38.0, -123.0"), 17, "a rectangle sheet without four numbers"},
      {sheet("4, \"a\", \"b\", 37.0, west, 38.0, -123.0"), 17, "a rectangle sheet without four numbers"},
      {sheet("4, \"a\", \"b\", nan, -122.0, 38.0, -123.0"), 17, offGlobe},
      {sheet("4, \"a\", \"b\", 37.0, -122.0, 90.5, -123.0"), 17, offGlobe},
      {sheet("12, \"a\", \"b\", 37.0, -360.5, 38.0, -123.0"), 17, offGlobe},
      {sheet("0, \"a\", \"" + std::string(510, 'd') + "\""), 17, "a line longer than 511 characters"},
      {std::string(512, 't') + "\n", 1, "a line longer than 511 characters"}};
  for (const auto& c : cases) {
    ScaleInfoTable table;
    const RegionReadResult result = ParseRegion(c.text, table);
    EXPECT_EQ(result.fault, RegionFault::kLayout) << c.problem;
    EXPECT_EQ(std::to_string(result.line) + " " + result.problem, std::to_string(c.line) + " " + c.problem);
    EXPECT_TRUE(table.entries.empty()) << c.problem;
  }
}

TEST(RegionReader, LineOf511CharactersIsAccepted) {
  const std::string description(511 - std::strlen("0, \"37122-A1\", \"\""), 'd');
  const std::string list = "0, \"37122-A1\", \"" + description + "\"\r\n0, \"\", \"\"\n";
  ASSERT_EQ(list.find('\r'), 511u);
  EXPECT_EQ(Codes(Read(WithHeader("1", Entry("24, \"s\"", list))).entries[0].primary),
            (std::vector<std::string>{"37122-A1", ""}));
}

// The buffer grows by doubling; a doubling past the limit (here that of a
// 32-bit size) gives 0 instead of wrapping to a smaller buffer than is held.
TEST(RegionReader, BufferGrowthStopsAtTheLimitInsteadOfWrapping) {
  constexpr std::size_t kLimit32 = 0xFFFFFFFFu;
  const struct {
    std::size_t capacity;
    std::size_t grown;
  } cases[] = {{65537, 131074}, {0x7FFFFFFFu, 0xFFFFFFFEu}, {0x80000000u, 0}, {0xFFFFFFFFu, 0}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(NextCapacity(c.capacity, kLimit32), c.grown) << c.capacity;
  EXPECT_EQ(NextCapacity(SIZE_MAX / 2 + 1), 0u);
}

}  // namespace
}  // namespace velinst::packlist
