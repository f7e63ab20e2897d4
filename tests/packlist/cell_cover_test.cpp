#include "packlist/cell_cover.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "pack_list_test_support.h"

namespace velinst::packlist {
namespace {

using Lines = std::vector<std::string>;

SheetRecord Rectangle(double south, double east, double north, double west) {
  SheetRecord sheet;
  sheet.flags = 8;
  std::tie(sheet.south, sheet.east, sheet.north, sheet.west) = std::tie(south, east, north, west);
  return sheet;
}

Lines Halves(const SheetRecord& sheet, bool mapLongitudes) {
  test::MemoryListOutput output;
  PackListWriter writer(output);
  WriteHalfDegreeCover(sheet, mapLongitudes, writer);
  writer.Flush();
  const Lines lines = test::ListLines(output.text);
  EXPECT_EQ(static_cast<std::size_t>(writer.Lines()), lines.size());
  return lines;
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
  for (const auto& c : cases) EXPECT_EQ(Halves(c.sheet, c.map), c.lines) << c.name;
}

}  // namespace
}  // namespace velinst::packlist
