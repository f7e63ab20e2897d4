// The region reader and its scanning of numbers and lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "pack_list_test_support.h"
#include "packlist/line_cursor.h"
#include "packlist/region_reader.h"
#include "packlist/scale_table.h"
#include "packlist/text_scan.h"

namespace velinst::packlist {
namespace {

ScaleInfoTable Read(const std::string& text) {
  ScaleInfoTable table;
  const RegionReadResult result = ParseRegion(text, table);
  EXPECT_EQ(result.fault, RegionFault::kNone) << "line " << result.line << ": " << result.problem;
  return table;
}

// Each entry as its denominator, its count of sheets and the codes of its
// lists (the closing line included), the set-aside ones with their flags.
std::string Summary(const ScaleInfoTable& table) {
  std::string text;
  for (const ScaleEntry& entry : table.entries) {
    text += (text.empty() ? "" : "; ") + std::to_string(entry.denominator) + " " + std::to_string(entry.PrimaryCount());
    for (const SheetRecord& sheet : entry.primary)
      text += std::string(" ") + sheet.cellCode + (sheet.IsEnd() ? "." : "");
    for (const SheetRecord& sheet : entry.setAside)
      text += std::string(" /") + sheet.cellCode + "=" + std::to_string(sheet.flags);
  }
  return text;
}

// A region whose header ends with `countLine`, followed by `rest`.
std::string WithHeader(const std::string& countLine, const std::string& rest, const std::string& version = "2.0") {
  return "Title\nsecond\n" + version + "\n// comment\n\np\nd\nu\ne\n" + countLine + "\n" + rest;
}

// One entry from its scale line to its sheet list (blank rectangle line).
std::string Entry(const std::string& scaleLine, const std::string& list) {
  return scaleLine + "\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n\n// sheets\n" + list;
}

TEST(RegionReader, EntriesAndTheirSheetLists) {
  const std::string end = "0, \"\", \"\"\n";
  const std::string sheets = "24, \"s\"\n1.0, 2.0, 3.0, 4.0\n1, 2, 3, 4\n122, 1, 37, 1\n";
  const std::string rectangle = "37.0, -122.0, 38.0, -123.0,\n";
  const std::string longest(511 - std::strlen("0, \"37122-A1\", \"\""), 'd');
  const struct {
    std::string text, summary;
  } cases[] = {
      // A blank count line announces two entries; one below one none.
      {WithHeader("", Entry("24, \"a\"", "0, \"x\", \"\"\n\n") + Entry("100, \"b\"", "0, \"x\", \"\"\n\n")),
       "24000 0 .; 100000 0 ."},
      {WithHeader("0", Entry("24, \"a\"", end)), ""},
      {WithHeader("-3", Entry("24, \"a\"", end)), ""},
      {WithHeader("none", Entry("24, \"a\"", end)), ""},
      // The last sheet line is never a sheet, whatever it holds.
      {RegionFile("2.0",
                  {{"24, \"s\"", {"0, \"37122-A1\", \"a\"", "0, \"37122-A2\", \"b\"", "0, \"37122-A3\", \"c\""}}}),
       "24000 3 37122-A1 37122-A2 37122-A3 ."},
      {WithHeader("1", Entry("24, \"s\"", "0, \"37122-A1\", \"a\"\n12 no quotes, " + std::string(600, 'x') + "\n")),
       "24000 1 37122-A1 ."},
      {RegionFile("2.0",
                  {{"24, \"s\"", {"16, \"37122-A1\", \"a\"", "0, \"37122-A2\", \"b\"", "18, \"37122-A3\", \"c\""}}}),
       "24000 1 37122-A2 . /37122-A1=16 /37122-A3=18"},
      // Rectangle lines: one blank or two filled. After a blank one the next
      // line belongs to the comments before the list: a digit-led one starts it.
      {WithHeader("1", sheets + rectangle + rectangle + "// sheets\n0, \"37122-A1\", \"a\"\n" + end),
       "24000 1 37122-A1 ."},
      {WithHeader("1", sheets + "\n0, \"37122-A1\", \"a\"\n" + end), "24000 1 37122-A1 ."},
      {WithHeader("1", Entry("24, \"s\"", "0, \"37122-A1\", \"" + longest + "\"\r\n" + end)), "24000 1 37122-A1 ."},
  };
  for (const auto& c : cases) EXPECT_EQ(Summary(Read(c.text)), c.summary) << c.text.substr(0, 200);

  // A list ends at a blank line, a line of a single slash, a blank-led line
  // or the end of the file (which leaves the second entry missing).
  for (const char* ending : {"\n", "/ end\n", "/\n", " 0, \"37122-B1\", \"b\"\n", ""}) {
    const std::string list = std::string("0, \"37122-A1\", \"a\"\n// a comment, neither counted nor taken\n") +
                             "0, \"37122-A2\", \"closes\"\n" + ending;
    const std::string second = *ending == '\0' ? "" : Entry("100, \"t\"", "0, \"37122-E1\", \"e\"\n" + end);
    EXPECT_EQ(Summary(Read(WithHeader(*ending == '\0' ? "1" : "2", Entry("24, \"s\"", list) + second))),
              *ending == '\0' ? "24000 1 37122-A1 ." : "24000 1 37122-A1 .; 100000 1 37122-E1 .")
        << ending;
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
  for (const ScaleEntry& entry : table.entries)
    sizes.insert(sizes.end(), {entry.longitudeCellSize, entry.latitudeCellSize});
  EXPECT_EQ(sizes, (std::vector<double>{0.125, 0.125, 1.0, 0.5, 1.5, 0.25}));
  EXPECT_EQ(std::string(table.entries[2].scaleName) + " " + std::to_string(table.entries[2].formatVersion),
            "third 2.000000");
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
  const auto sheet = [&](const std::string& line) {
    return WithHeader("1", Entry("24, \"s\"", line + "\n" + closing));
  };
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

TEST(ScanInt, ReadsAsPercentDReadsAndClamps) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
    const char* rest;
  } cases[] = {{"42, x", 42, ", x"},
               {"  -7x", -7, "x"},
               {"abc", std::nullopt, "abc"},
               {"", std::nullopt, ""},
               {"99999999999999999999", std::numeric_limits<std::int32_t>::max(), ""},
               {"-2147483648", std::numeric_limits<std::int32_t>::min(), ""},
               {"-99999999999999999999", std::numeric_limits<std::int32_t>::min(), ""}};
  for (const auto& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanInt(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
}

TEST(ScanReal, ReadsAsStrtodReadsWithoutLocale) {
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    const char* text;
    std::optional<double> value;
    const char* rest;
  } cases[] = {
      {"237.5", 237.5, ""},         {" \t-122.125, 37", -122.125, ", 37"},
      {"+1e3x", 1000.0, "x"},       {".5", 0.5, ""},
      {"1e400", infinity, ""},      {"-1e400", -infinity, ""},
      {"1e-400", 0.0, ""},          {"inf", infinity, ""},
      {"--1", std::nullopt, "--1"}, {"+-1", std::nullopt, "+-1"},
      {"x1", std::nullopt, "x1"},   {"", std::nullopt, ""},
      {"0x10", 0.0, "x10"}  // no hexadecimal reals in region files
  };
  for (const auto& c : cases) {
    std::string_view text = c.text;
    EXPECT_EQ(ScanReal(text), c.value) << c.text;
    EXPECT_EQ(text, c.rest) << c.text;
  }
  std::string_view notANumber = "nan";
  EXPECT_TRUE(std::isnan(ScanReal(notANumber).value()));
}

TEST(LineCursor, DropsCarriageReturnBeforeLineEndAndCountsLines) {
  LineCursor lines("a\r\nb\rc\n\r\n\nlast\r");
  std::string_view line;
  std::string seen;
  while (lines.Next(line)) seen += std::to_string(lines.LineNumber()) + "[" + std::string(line) + "]";
  EXPECT_EQ(seen, "1[a]2[b\rc]3[]4[]5[last]");
  EXPECT_FALSE(LineCursor("").Next(line));
}

}  // namespace
}  // namespace velinst::packlist
