#include "packlist/pack_list_24k.h"

#include <string_view>

#include "packlist/cell_code.h"
#include "packlist/cell_cover.h"
#include "packlist/series_writer.h"

namespace velinst::packlist {
namespace {

// The cell west of a cell: the column digit plus one, and west of column 8
// column 1 of the next block to the west. A column without a following digit
// (not a digit, or 9) names no cell to the west, and its successor could be a
// line feed that splits the list: the cell itself is written again, so that
// the count stays true.
CodeText WesternNeighbour(const char* cellCode, const CodeText& shortForm) {
  if (shortForm.length == 7 && shortForm.text[6] == '8')
    return FormatBlockCell(WesternBlock(cellCode).View(), shortForm.text[5], 1);
  CodeText neighbour = shortForm;
  if (neighbour.length > 0) {
    char& column = neighbour.text[neighbour.length - 1];
    if (column >= '0' && column < '9') ++column;
  }
  return neighbour;
}

void WriteQuadrangle(const SheetRecord& sheet, PackListWriter& out) {
  if (sheet.IsRectangle()) {
    WriteEighthDegreeCover(sheet, out);
    return;
  }
  const CodeText shortForm = ShortForm(sheet.cellCode);
  out.Line(shortForm.View());
  if (sheet.IsDoubleWidth()) out.Line(WesternNeighbour(sheet.cellCode, shortForm).View());
}

// Every cell of `rows` rows of a block from `firstRow` northwards, each row
// from east to west.
void WriteBlockRows(std::string_view block, char firstRow, int rows, PackListWriter& out) {
  for (int row = 0; row < rows; ++row)
    for (int column = 1; column <= 8; ++column)
      out.Line(FormatBlockCell(block, static_cast<char>(firstRow + row), column).View());
}

// A 1:100,000 sheet is named by its south-eastern cell: four rows of cells
// from row A (southern half of the block) or E (northern half).
void WriteHundredThousand(const SheetRecord& sheet, PackListWriter& out) {
  WriteBlockRows(BlockOf(sheet.cellCode), sheet.cellCode[6] == 'E' ? 'E' : 'A', 4, out);
}

// A 1:250,000 sheet spans its block and the next block to the west.
void WriteQuarterMillion(const SheetRecord& sheet, PackListWriter& out) {
  WriteBlockRows(BlockOf(sheet.cellCode), 'A', 8, out);
  WriteBlockRows(WesternBlock(sheet.cellCode).View(), 'A', 8, out);
}

}  // namespace

void WritePackList24K(const ScaleInfoTable& table, std::int32_t scale, PackListWriter& out) {
  static constexpr SeriesWriter kSeries[] = {
      {kQuadrangleScale, WriteQuadrangle},
      {kHundredThousandScale, WriteHundredThousand},
      {kQuarterMillionScale, WriteQuarterMillion},
  };
  WriteSeries(table, scale, kSeries, out);
}

}  // namespace velinst::packlist
