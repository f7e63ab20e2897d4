#include "packlist/pack_list_100k.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack_list_test_support.h"

namespace velinst::packlist {
namespace {

using Lines = std::vector<std::string>;
using test::PackList100KLines;
using test::RegionFile;

Lines OneSheet(const char* scaleLine, const std::string& sheet, std::int32_t scale, const char* version = "2.0") {
  return PackList100KLines(RegionFile(version, {{scaleLine, {sheet}}}), scale);
}

TEST(PackList100K, HundredThousandSheets) {
  const struct {
    const char* sheet;
    Lines lines;
  } cases[] = {
      {"0, \"37122-E1\", \"named\"", {"37122E1"}},
      {"2, \"37122-A1\", \"double width means nothing here\"", {"37122A1"}},
      {"8, \"x\", \"rectangle\", 37.0, -122.0, 38.0, -123.0", {"37122A1", "37122E1"}},
      {"4, \"x\", \"rectangle, unmapped\", 37.0, 238.0, 37.5, 237.0", {"37-238A1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(OneSheet("100, \"h\"", c.sheet, 100000), c.lines) << c.sheet;
}

TEST(PackList100K, QuarterMillionSheets) {
  const struct {
    const char* sheet;
    Lines lines;
  } cases[] = {
      {"0, \"37122-A1\", \"two blocks\"", {"37122A1", "37122E1", "37123A1", "37123E1"}},
      {"0, \"58150-A1\", \"two blocks\"", {"58150A1", "58150E1", "58151A1", "58151E1"}},
      {"0, \"59150-A1\", \"three blocks from 59 north\"",
       {"59150A1", "59150E1", "59151A1", "59151E1", "59152A1", "59152E1"}},
      {"0, \"60145-A1\", \"three blocks\"", {"60145A1", "60145E1", "60146A1", "60146E1", "60147A1", "60147E1"}},
      {"0, \"0\", \"short code\"", {"00000A1", "00000E1", "00001A1", "00001E1"}},
      {"8, \"x\", \"rectangle\", 37.2, -122.3, 37.7, -123.4", {"37122A1", "37122E1", "37123A1", "37123E1"}},
  };
  for (const auto& c : cases) EXPECT_EQ(OneSheet("250, \"t\"", c.sheet, 250000), c.lines) << c.sheet;
}

TEST(PackList100K, FirstFormatVersionRectangleMatchesTheSignedForm) {
  EXPECT_EQ(OneSheet("250, \"t\"", "8, \"x\", \"r\", 37.2, 237.7, 37.7, 236.6", 250000, "1.0"),
            OneSheet("250, \"t\"", "8, \"x\", \"r\", 37.2, -122.3, 37.7, -123.4", 250000, "2.0"));
}

TEST(PackList100K, OtherScalesGiveNothing) {
  const std::string region =
      RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\""}}, {"100, \"h\"", {"0, \"37122-E1\", \"h\""}}});
  EXPECT_TRUE(PackList100KLines(region, 24000).empty());
  EXPECT_TRUE(PackList100KLines(region, 250000).empty());
  EXPECT_EQ(PackList100KLines(region, 100000), (Lines{"37122E1"}));
}

}  // namespace
}  // namespace velinst::packlist
