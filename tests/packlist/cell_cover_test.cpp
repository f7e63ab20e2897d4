#include "packlist/cell_cover.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pack_list_test_support.h"

namespace velinst::packlist {
namespace {

using Lines = std::vector<std::string>;

SheetRecord Rectangle(double south, double east, double north, double west) {
  SheetRecord sheet;
  sheet.flags = 8;
  sheet.south = south;
  sheet.east = east;
  sheet.north = north;
  sheet.west = west;
  return sheet;
}

template <typename Cover>
Lines Write(Cover cover) {
  test::MemoryListOutput output;
  PackListWriter writer(output);
  cover(writer);
  writer.Flush();
  const Lines lines = test::ListLines(output.text);
  EXPECT_EQ(static_cast<std::size_t>(writer.Lines()), lines.size());
  return lines;
}

Lines Eighths(const SheetRecord& sheet) {
  return Write([&](PackListWriter& out) { WriteEighthDegreeCover(sheet, out); });
}

Lines Halves(const SheetRecord& sheet, bool mapLongitudes) {
  return Write([&](PackListWriter& out) { WriteHalfDegreeCover(sheet, mapLongitudes, out); });
}

TEST(EighthDegreeCover, FollowsTheEdgeFormulas) {
  const struct {
    const char* name;
    SheetRecord sheet;
    Lines lines;
  } cases[] = {
      {"one exact cell", Rectangle(37.0, -122.0, 37.125, -122.125), {"37122A1"}},
      {"columns east to west, rows south to north",
       Rectangle(37.05, -122.1, 37.2, -122.3),
       {"37122A1", "37122B1", "37122A2", "37122B2", "37122A3", "37122B3"}},
      // Truncation toward zero moves a fractional east edge east and the
      // south edge south; north and west edges off the grid move outwards.
      {"edges off the grid", Rectangle(36.64, -121.70, 36.75, -121.80), {"36121F6", "36121F7"}},
      {"across a block edge", Rectangle(37.9, -122.9, 38.1, -123.1), {"37122H8", "38122A8", "37123H1", "38123A1"}},
      {"west not west of east", Rectangle(37.0, -122.125, 37.125, -122.125), {}},
      {"west east of east", Rectangle(37.0, -122.0, 37.125, -121.5), {}},
      {"north south of south", Rectangle(37.5, -122.0, 37.0, -122.125), {}},
      {"eastern hemisphere as written", Rectangle(45.0, 10.0, 45.125, 9.875), {"45-10A1"}},
      {"southern hemisphere as written", Rectangle(-33.875, -151.0, -33.75, -151.125), {"-33151H1"}}};
  for (const auto& c : cases) EXPECT_EQ(Eighths(c.sheet), c.lines) << c.name;
}

TEST(EighthDegreeCover, WholeGlobeRectangleIsBounded) {
  const Lines lines = Eighths(Rectangle(-90.0, 0.0, 90.0, -1.0));
  EXPECT_EQ(lines.size(), 180u * 8 * 8);
  EXPECT_EQ(lines.front(), "-90000A1");
  EXPECT_EQ(lines.back(), "89000H8");
}

TEST(HalfDegreeCover, FollowsTheEdgeFormulas) {
  const struct {
    const char* name;
    SheetRecord sheet;
    bool map;
    Lines lines;
  } cases[] = {
      {"whole degrees", Rectangle(37.0, -122.0, 38.0, -123.0), false, {"37122A1", "37122E1"}},
      {"fractions, mapped", Rectangle(37.2, -122.3, 37.7, -123.4), true, {"37122A1", "37122E1", "37123A1", "37123E1"}},
      {"northern half only", Rectangle(37.5, -122.0, 38.0, -123.0), false, {"37122E1"}},
      {"positive east longitude mapped",
       Rectangle(37.2, 237.7, 37.7, -123.4),
       true,
       {"37122A1", "37122E1", "37123A1", "37123E1"}},
      {"positive longitudes unmapped", Rectangle(37.0, 237.0, 37.5, 236.0), false, {"37-237A1"}},
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
