#include "packlist/pack_list_100k.h"

#include "packlist/cell_code.h"
#include "packlist/cell_cover.h"
#include "packlist/series_writer.h"

namespace velinst::packlist {
namespace {

// From this latitude northwards a 1:250,000 sheet spans three blocks of
// longitude instead of two.
constexpr int kWideQuarterMillionLatitude = 59;

void WriteHundredThousand(const SheetRecord& sheet, PackListWriter& out) {
  if (sheet.IsRectangle())
    WriteHalfDegreeCover(sheet, false, out);
  else
    out.Line(ShortForm(sheet.cellCode).View());
}

void WriteQuarterMillion(const SheetRecord& sheet, PackListWriter& out) {
  if (sheet.IsRectangle()) {
    WriteHalfDegreeCover(sheet, true, out);
    return;
  }
  const int latitude = CodeNumber(sheet.cellCode, 0, 2);
  const int longitude = CodeNumber(sheet.cellCode, 2, 3);
  const int blocks = latitude >= kWideQuarterMillionLatitude ? 3 : 2;
  for (int block = 0; block < blocks; ++block) {
    out.Line(FormatCellCode(latitude, longitude + block, 'A', 1).View());
    out.Line(FormatCellCode(latitude, longitude + block, 'E', 1).View());
  }
}

}  // namespace

void WritePackList100K(const ScaleInfoTable& table, std::int32_t scale, PackListWriter& out) {
  static constexpr SeriesWriter kSeries[] = {
      {kHundredThousandScale, WriteHundredThousand},
      {kQuarterMillionScale, WriteQuarterMillion},
  };
  WriteSeries(table, scale, kSeries, out);
}

}  // namespace velinst::packlist
