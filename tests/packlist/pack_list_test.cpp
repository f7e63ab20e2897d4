// The pack list families on regions read by the reader.
#include <gtest/gtest.h>

#include "pack_list_test_support.h"
#include "packlist/pack_list_100k.h"
#include "packlist/pack_list_24k.h"
#include "packlist/region_reader.h"

namespace velinst::packlist {
namespace {

// A region text through the reader and a pack list family, into lines.
using FamilyWriter = void (*)(const ScaleInfoTable&, std::int32_t, PackListWriter&);
std::vector<std::string> PackListLines(const std::string& region, std::int32_t scale, FamilyWriter write) {
  ScaleInfoTable table;
  const RegionReadResult read = ParseRegion(region, table);
  if (read.fault != RegionFault::kNone) throw std::runtime_error(std::string("region refused: ") + read.problem);
  return WrittenLines([&](PackListWriter& writer) { write(table, scale, writer); });
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

}  // namespace
}  // namespace velinst::packlist
