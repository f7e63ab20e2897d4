// The half-degree cover of a rectangle sheet.
#include <gtest/gtest.h>

#include <tuple>

#include "pack_list_test_support.h"
#include "packlist/cell_cover.h"

namespace velinst::packlist {
namespace {

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

}  // namespace
}  // namespace velinst::packlist
