// The region reader, the pack list families and the exports against real
// files: results, removal of lists that cannot be kept, diagnostics on the
// standard output, line ends, the shipped examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "packlist/cell_cover.h"
#include "packlist/line_cursor.h"
#include "packlist/list_file.h"
#include "packlist/pack_list_100k.h"
#include "packlist/pack_list_24k.h"
#include "packlist/pack_list_export.h"
#include "packlist/pack_list_writer.h"
#include "packlist/region_reader.h"
#include "packlist/scale_table.h"
#include "packlist/text_scan.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst::packlist {
namespace {

// Region files built in the tests, and a pack list kept in memory.

// One series of a test region: its scale line and its sheet lines. The list
// is closed by a last sheet line and a blank line.
struct Series {
  std::string scaleLine;
  std::vector<std::string> sheets;
};

// A pack list in memory. It can refuse a write after `acceptBytes` bytes or
// refuse to close, as a full disk does.
class MemoryListOutput final : public ListOutput {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (size > acceptBytes - std::min(acceptBytes, text.size())) return false;
    text.append(data, size);
    return true;
  }
  bool Close() override { return closeSucceeds; }
  void Remove() override { removed = true; }

  std::string text;
  std::size_t acceptBytes = SIZE_MAX;
  bool closeSucceeds = true;
  bool removed = false;
};

// A region file of the format version holding the series, lines ended by
// `lineEnd`.
std::string RegionFile(const std::string& version, const std::vector<Series>& series,
                       const std::string& lineEnd = "\n") {
  std::string text;
  const auto lines = [&](std::initializer_list<std::string> contents) {
    for (const std::string& content : contents) text += content + lineEnd;
  };
  lines({"Test region", "T-1", version, "// written by the tests", "", "publisher", "datum", "units", "edition",
         std::to_string(series.size())});
  for (const Series& entry : series) {
    // No rectangle lines.
    lines({entry.scaleLine, "-123.0, 37.0, -122.0, 38.0", "1, 2, 3, 4", "122, 1, 37, 1", "", "// sheets"});
    for (const std::string& sheet : entry.sheets) lines({sheet});
    lines({"0, \"\", \"closes the list\"", ""});
  }
  return text;
}

// The lines of a pack list; each must end with a carriage return and a line
// feed (a line without them is returned with "<partial>" in front).
std::vector<std::string> ListLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<partial>" + text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// What a writer gives, as lines; its count must match them.
std::vector<std::string> WrittenLines(const std::function<void(PackListWriter&)>& write) {
  MemoryListOutput output;
  PackListWriter writer(output);
  write(writer);
  writer.Flush();
  const std::vector<std::string> lines = ListLines(output.text);
  if (static_cast<std::size_t>(writer.Lines()) != lines.size()) throw std::runtime_error("count differs from lines");
  return lines;
}

// A region text through the reader and a pack list family, into lines.
using FamilyWriter = void (*)(const ScaleInfoTable&, std::int32_t, PackListWriter&);
std::vector<std::string> PackListLines(const std::string& region, std::int32_t scale, FamilyWriter write) {
  ScaleInfoTable table;
  const RegionReadResult read = ParseRegion(region, table);
  if (read.fault != RegionFault::kNone) throw std::runtime_error(std::string("region refused: ") + read.problem);
  return WrittenLines([&](PackListWriter& writer) { write(table, scale, writer); });
}

std::string ExamplePath(const std::string& name) { return velinst::test::ProgramDir() + "examples/" + name; }

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

using Lines = std::vector<std::string>;

SheetRecord Rectangle(double south, double east, double north, double west) {
  SheetRecord sheet;
  sheet.flags = 8;
  std::tie(sheet.south, sheet.east, sheet.north, sheet.west) = std::tie(south, east, north, west);
  return sheet;
}

TEST(HalfDegreeCover, FollowsTheEdgeFormulas) {
  const struct {
    const char* name;
    SheetRecord sheet;
    bool map;
    Lines lines;
  } cases[] = {{"northern half only", Rectangle(37.5, -122.0, 38.0, -123.0), false, {"37122E1"}},
               {"positive east longitude mapped",
                Rectangle(37.2, 237.7, 37.7, -123.4),
                true,
                {"37122A1", "37122E1", "37123A1", "37123E1"}},
               // 236.5 ends a degree further west than -123.5 would.
               {"positive west edge mapped after rounding",
                Rectangle(37.0, 238.0, 37.5, 236.5),
                true,
                {"37122A1", "37123A1", "37124A1"}},
               {"west not west of east", Rectangle(37.0, -122.0, 38.0, -122.0), false, {}},
               {"north not north of south", Rectangle(37.5, -122.0, 37.5, -123.0), false, {}}};
  for (const auto& c : cases)
    EXPECT_EQ(WrittenLines([&](PackListWriter& writer) { WriteHalfDegreeCover(c.sheet, c.map, writer); }), c.lines)
        << c.name;
}

Lines OneSheet(const char* scaleLine, const std::string& sheet, std::int32_t scale) {
  return PackListLines(RegionFile("2.0", {{scaleLine, {sheet}}}), scale, WritePackList24K);
}

Lines OneSheet100K(const char* scaleLine, const std::string& sheet, std::int32_t scale, const char* version = "2.0") {
  return PackListLines(RegionFile(version, {{scaleLine, {sheet}}}), scale, WritePackList100K);
}

// Every cell of a block's rows, each row from east to west.
Lines BlockRows(const std::string& block, char first, char last) {
  Lines lines;
  for (char row = first; row <= last; ++row)
    for (char column = '1'; column <= '8'; ++column) lines.push_back(block + row + column);
  return lines;
}

TEST(PackList24K, QuadrangleSheetsByFlags) {
  const struct {
    const char* sheet;
    Lines lines;
  } cases[] = {{"0, \"37122-A1\", \"plain\"", {"37122A1"}},
               {"1, \"37122 B3\", \"other bits have no effect\"", {"37122B3"}},
               {"2, \"37122-A1\", \"double width\"", {"37122A1", "37122A2"}},
               {"2, \"37122-C7\", \"double width\"", {"37122C7", "37122C8"}},
               // West of column 8 lies column 1 of the next block to the west.
               {"2, \"37122-A8\", \"double width at the block edge\"", {"37122A8", "37123A1"}},
               {"2, \"48099-H8\", \"double width at the block edge\"", {"48099H8", "48100H1"}},
               {"8, \"37122-A1\", \"rectangle\", 37.0, -122.0, 37.125, -122.125", {"37122A1"}},
               {"6, \"ignored\", \"rectangle wins over double width\", 37.05, -122.1, 37.2, -122.3",
                {"37122A1", "37122B1", "37122A2", "37122B2", "37122A3", "37122B3"}},
               {"4, \"37122-A1\", \"west not west of east\", 37.0, -122.0, 37.5, -121.0", {}},
               // Truncation toward zero moves a fractional east edge east and the
               // south edge south; north and west edges off the grid move outwards.
               {"8, \"x\", \"edges off the grid\", 36.64, -121.70, 36.75, -121.80", {"36121F6", "36121F7"}},
               {"8, \"x\", \"block edge\", 37.9, -122.9, 38.1, -123.1", {"37122H8", "38122A8", "37123H1", "38123A1"}},
               {"8, \"x\", \"north south of south\", 37.5, -122.0, 37.0, -122.125", {}},
               {"8, \"x\", \"eastern hemisphere as written\", 45.0, 10.0, 45.125, 9.875", {"45-10A1"}},
               {"8, \"x\", \"southern hemisphere\", -33.875, -151.0, -33.75, -151.125", {"-33151H1"}},
               {"0, \"371\", \"short code\"", {"371"}},
               {"2, \"37122-A\t\", \"no column digit\"", {"37122A\t", "37122A\t"}},
               {"2, \"37122-A9\", \"no column\"", {"37122A9", "37122A9"}},
               {"2, \"37122-A0\", \"column 0\"", {"37122A0", "37122A1"}},
               {"2, \"3712\", \"short code\"", {"3712", "3713"}},
               {"0, \"37122-A1xyz\", \"long code\"", {"37122A1"}}};
  for (const auto& c : cases) EXPECT_EQ(OneSheet("24, \"q\"", c.sheet, 24000), c.lines) << c.sheet;
  const Lines globe = OneSheet("24, \"q\"", "8, \"x\", \"whole globe\", -90.0, 0.0, 90.0, -1.0", 24000);
  EXPECT_EQ(globe.size(), 180u * 8 * 8);
  EXPECT_EQ(globe.front() + " " + globe.back(), "-90000A1 89000H8");
}

// A hundred-thousand sheet gives four rows of its half block (the flags are
// not consulted); a quarter-million sheet its block and the next one west.
TEST(PackList24K, LargerSheetsGiveTheirBlocks) {
  EXPECT_EQ(OneSheet("100, \"h\"", "0, \"37122-E1\", \"north\"", 100000), BlockRows("37122", 'E', 'H'));
  EXPECT_EQ(OneSheet("100, \"h\"", "8, \"37122-A1\", \"r\", 37.0, -122.0, 37.5, -123.0", 100000),
            BlockRows("37122", 'A', 'D'));
  Lines expected = BlockRows("37122", 'A', 'H');
  const Lines western = BlockRows("37123", 'A', 'H');
  expected.insert(expected.end(), western.begin(), western.end());
  EXPECT_EQ(OneSheet("250, \"t\"", "0, \"37122-A1\", \"q\"", 250000), expected);
  EXPECT_EQ(OneSheet("250, \"t\"", "0, \"37099-A1\", \"q\"", 250000)[64], "37100A1");
}

TEST(PackList24K, OnlyEntriesOfTheRequestedScaleInTableOrder) {
  const std::string region =
      RegionFile("2.0", {{"24, \"first\"", {"0, \"37122-A1\", \"a\"", "16, \"37122-A2\", \"set aside\""}},
                         {"100, \"h\"", {"0, \"37122-E1\", \"h\""}},
                         {"24000, \"second\"", {"0, \"38122-A1\", \"b\"", "2, \"38122-A3\", \"c\""}},
                         {"50, \"other\"", {"0, \"39122-A1\", \"d\""}}});
  EXPECT_EQ(PackListLines(region, 24000, WritePackList24K), (Lines{"37122A1", "38122A1", "38122A3", "38122A4"}));
  EXPECT_EQ(PackListLines(region, 100000, WritePackList24K).size(), 32u);
  EXPECT_TRUE(PackListLines(region, 50000, WritePackList24K).empty());  // a series the list does not know
  EXPECT_TRUE(PackListLines(region, 250000, WritePackList24K).empty());
  const std::string emptyCode = RegionFile(
      "2.0", {{"24, \"q\"",
               {"0, \"37122-A1\", \"a\"", "8, \"\", \"no code\", 37, -122, 38, -123", "0, \"37122-A3\", \"c\""}}});
  EXPECT_EQ(PackListLines(emptyCode, 24000, WritePackList24K), (Lines{"37122A1"})) << "an empty code ends the walk";
}

TEST(PackList100K, HundredThousandAndQuarterMillionSheets) {
  const struct {
    int scale;
    const char* sheet;
    Lines lines;
  } cases[] = {
      {100, "0, \"37122-E1\", \"named\"", {"37122E1"}},
      {100, "2, \"37122-A1\", \"double width means nothing here\"", {"37122A1"}},
      {100, "8, \"x\", \"rectangle\", 37.0, -122.0, 38.0, -123.0", {"37122A1", "37122E1"}},
      {100, "4, \"x\", \"rectangle, unmapped\", 37.0, 238.0, 37.5, 237.0", {"37-238A1"}},
      {250, "0, \"37122-A1\", \"two blocks\"", {"37122A1", "37122E1", "37123A1", "37123E1"}},
      {250, "0, \"58150-A1\", \"two blocks\"", {"58150A1", "58150E1", "58151A1", "58151E1"}},
      {250,
       "0, \"59150-A1\", \"three blocks from 59 north\"",
       {"59150A1", "59150E1", "59151A1", "59151E1", "59152A1", "59152E1"}},
      {250, "0, \"60145-A1\", \"three blocks\"", {"60145A1", "60145E1", "60146A1", "60146E1", "60147A1", "60147E1"}},
      {250, "0, \"0\", \"short code\"", {"00000A1", "00000E1", "00001A1", "00001E1"}},
      {250, "8, \"x\", \"rectangle\", 37.2, -122.3, 37.7, -123.4", {"37122A1", "37122E1", "37123A1", "37123E1"}}};
  for (const auto& c : cases)
    EXPECT_EQ(OneSheet100K(c.scale == 100 ? "100, \"h\"" : "250, \"t\"", c.sheet, c.scale * 1000), c.lines) << c.sheet;
}

TEST(PackList100K, FirstFormatVersionRectangleMatchesTheSignedFormAndOtherScalesGiveNothing) {
  EXPECT_EQ(OneSheet100K("250, \"t\"", "8, \"x\", \"r\", 37.2, 237.7, 37.7, 236.6", 250000, "1.0"),
            OneSheet100K("250, \"t\"", "8, \"x\", \"r\", 37.2, -122.3, 37.7, -123.4", 250000, "2.0"));
  const std::string region =
      RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\""}}, {"250, \"h\"", {"0, \"37122-E1\", \"h\""}}});
  EXPECT_TRUE(PackListLines(region, 24000, WritePackList100K).empty());
  EXPECT_TRUE(PackListLines(region, 100000, WritePackList100K).empty());
}

using velinst::test::FileExists;
using velinst::test::ReadWholeFile;
using velinst::test::TempDir;
using velinst::test::WriteWholeFile;

const Lines kMontereyQuadrangles = {"36122H1", "36121H8", "37122A1", "37121A8", "36121G6", "36121G7", "36121G8",
                                    "36122G1", "36121F6", "36121F7", "36121E6", "36121F6", "36121E7", "36121F7"};

class PackListExport : public testing::Test {
 protected:
  // Runs an export with the standard output captured.
  template <typename Export>
  int Run(Export makePackList, const std::string& region, int scale) {
    testing::internal::CaptureStdout();
    const int result = makePackList(region.c_str(), list_.c_str(), scale);
    printed_ = testing::internal::GetCapturedStdout();
    return result;
  }

  std::string WriteRegion(const std::string& text) {
    const std::string path = dir_.File("region.rgn");
    WriteWholeFile(path, text);
    return path;
  }

  TempDir dir_;
  const std::string list_ = dir_.File("pack.lst");
  std::string printed_;
};

TEST_F(PackListExport, ExamplesAtEveryScaleAndLineEnds) {
  const std::string region = ExamplePath("monterey_bay.rgn");
  WriteWholeFile(list_, std::string(100000, 'x'));  // an existing list is replaced
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 24000), 14);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)), kMontereyQuadrangles);
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 100000), 4 * 32);
  EXPECT_EQ(Run(VEL_MakePackList100K, region, 100000), 4);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)), (Lines{"36121E1", "36122E1", "37121A1", "36121A1"}));
  EXPECT_EQ(Run(VEL_MakePackList100K, region, 250000), 8);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)),
            (Lines{"36121A1", "36121E1", "36122A1", "36122E1", "37121A1", "37121E1", "37122A1", "37122E1"}));
  EXPECT_EQ(printed_, "");
  // The first format example, with carriage returns.
  const std::string tahoe = ExamplePath("lake_tahoe_v1.rgn");
  EXPECT_EQ(Run(VEL_MakePackList24K, tahoe, 24000), 7);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)),
            (Lines{"39120B2", "39120A2", "39119A8", "39120A1", "38119H8", "38120H2", "38120H3"}));
  // The list is written with carriage returns whatever the region's line ends.
  const std::vector<Series> series = {{"24, \"q\"", {"2, \"37122-A1\", \"a\""}}};
  for (const char* lineEnd : {"\n", "\r\n"}) {
    EXPECT_EQ(Run(VEL_MakePackList24K, WriteRegion(RegionFile("2.0", series, lineEnd)), 24000), 2);
    EXPECT_EQ(ReadWholeFile(list_), "37122A1\r\n37122A2\r\n");
  }
}

// Nothing to pack gives 0; a list that cannot be created -1 before the
// region is read; an unreadable region or one breaking the layout prints one
// line and gives -1. No list, older or new, is left behind.
TEST_F(PackListExport, ResultsWithoutAList) {
  const std::string monterey = ExamplePath("monterey_bay.rgn"), missing = dir_.File("missing.rgn");
  const std::string folder = dir_.Path().substr(0, dir_.Path().size() - 1), noFolder = dir_.File("no-such/pack.lst");
  const std::string emptySeries = dir_.File("empty.rgn"), broken = dir_.File("broken.rgn");
  WriteWholeFile(emptySeries, RegionFile("2.0", {{"24, \"q\"", {}}}));
  WriteWholeFile(broken,
                 RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\"", "8, \"x\", \"y\", 37.0, -122.0, 38.0"}}}));
  const auto cannotOpen = [](const std::string& region) { return "cannot open file '" + region + "' for input\n"; };
  const struct {
    decltype(&VEL_MakePackList24K) makePackList;
    std::string region, list;
    int scale, result;
    std::string printed;
  } cases[] = {{VEL_MakePackList24K, monterey, list_, 62500, 0, ""},
               {VEL_MakePackList100K, monterey, list_, 100001, 0, ""},
               {VEL_MakePackList, monterey, list_, 0, 0, ""},
               {VEL_MakePackList24K, emptySeries, list_, 24000, 0, ""},
               {VEL_MakePackList24K, missing, noFolder, 24000, -1, ""},
               {VEL_MakePackList100K, missing, noFolder, 24000, -1, ""},
               {VEL_MakePackList24K, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList100K, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList24K, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList100K, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList24K, broken, list_, 24000, -1,
                "region file '" + broken + "', line 18: a rectangle sheet without four numbers\n"}};
  for (const auto& c : cases) {
    WriteWholeFile(list_, "an older list");
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.makePackList(c.region.c_str(), c.list.c_str(), c.scale), c.result) << c.region << " " << c.scale;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_EQ(FileExists(list_), c.list != list_) << c.region << " " << c.scale;
  }
  EXPECT_EQ(VEL_MakePackList24K(monterey.c_str(), nullptr, 24000), -1);
}

TEST_F(PackListExport, ListNamingTheRegionFileItselfIsRefusedAndTheRegionKept) {
  const std::string text = RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\""}}});
  const std::string region = WriteRegion(text);
  // The same file under its own text and under another spelling of its path.
  const std::string sameFolder = dir_.Path() + "." + region.substr(dir_.Path().size() - 1);
  for (const std::string& list : {region, sameFolder}) {
    for (auto makePackList : {VEL_MakePackList24K, VEL_MakePackList100K}) {
      EXPECT_EQ(makePackList(region.c_str(), list.c_str(), 100000), -1) << list;
      EXPECT_EQ(ReadWholeFile(region), text) << list;
    }
  }
  // The region is still whole and readable.
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 24000), 1);
}

TEST_F(PackListExport, OverlappingCallsEachUseTheirOwnTable) {
  const std::string monterey = ExamplePath("monterey_bay.rgn");
  const std::string tahoe = ExamplePath("lake_tahoe_v1.rgn");
  std::vector<std::thread> threads;
  std::vector<int> results(8);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      const std::string list = dir_.File("list" + std::to_string(i));
      for (int round = 0; round < 20 && results[i] >= 0; ++round)
        results[i] = i % 2 == 0 ? VEL_MakePackList24K(monterey.c_str(), list.c_str(), 250000)
                                : VEL_MakePackList100K(tahoe.c_str(), list.c_str(), 250000);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(results[i], i % 2 == 0 ? 256 : 8) << i;
}

TEST_F(PackListExport, ListThatCannotBeWrittenWholeIsRemoved) {
  // 250 quarter-million sheets give 32,000 lines, several buffers' worth.
  std::vector<std::string> sheets;
  for (int i = 0; i < 250; ++i) sheets.push_back("0, \"37" + std::to_string(100 + i) + "-A1\", \"q\"");
  const std::string region = WriteRegion(RegionFile("2.0", {{"250, \"t\"", sheets}}));
  const struct {
    std::size_t acceptBytes;
    bool closeSucceeds;
    int result;
  } cases[] = {{0, true, -1}, {100000, true, -1}, {SIZE_MAX, false, -1}, {SIZE_MAX, true, 32000}};
  // The export drops its output when done: it gets a stand-in that writes
  // through to a list this test keeps.
  class KeptOutput final : public ListOutput {
   public:
    explicit KeptOutput(MemoryListOutput& list) : list_(list) {}
    bool Write(const char* data, std::size_t size) override { return list_.Write(data, size); }
    bool Close() override { return list_.Close(); }
    void Remove() override { list_.Remove(); }

   private:
    MemoryListOutput& list_;
  };
  for (const auto& c : cases) {
    MemoryListOutput output;
    std::tie(output.acceptBytes, output.closeSucceeds) = std::tuple(c.acceptBytes, c.closeSucceeds);
    const auto failing = [&](const char*) -> std::unique_ptr<ListOutput> {
      return std::make_unique<KeptOutput>(output);
    };
    const PackListFamily family{WritePackList24K, false};
    EXPECT_EQ(MakePackList(region.c_str(), list_.c_str(), 250000, family, failing), c.result) << c.acceptBytes;
    EXPECT_EQ(output.removed, c.result < 0) << c.acceptBytes;
    EXPECT_EQ(output.text.size() < 32000u * 9, c.acceptBytes < SIZE_MAX) << c.acceptBytes;
  }
}

}  // namespace
}  // namespace velinst::packlist
