#include "packlist/cell_cover.h"

#include <cmath>

#include "packlist/cell_code.h"

namespace velinst::packlist {
namespace {

double Frac(double x) { return x - std::trunc(x); }

// A north or west edge must not cut into a cell: a coordinate off the grid
// moves one cell further out.
double OuterEdge(double coordinate, double cellsPerDegree, double outward) {
  const double whole = std::trunc(coordinate);
  const double fraction = Frac(coordinate);
  const double grid = std::trunc(fraction * cellsPerDegree) / cellsPerDegree;
  return grid == fraction ? whole + grid : whole + grid + outward;
}

int Truncated(double value) { return static_cast<int>(std::trunc(value)); }

}  // namespace

void WriteEighthDegreeCover(const SheetRecord& sheet, PackListWriter& out) {
  const double south = std::trunc(sheet.south) + std::trunc(Frac(sheet.south) * 8) / 8;
  const double east = std::trunc(sheet.east) + std::trunc(Frac(sheet.east) * 8) / 8;
  const double north = OuterEdge(sheet.north, 8, 0.125);
  const double west = OuterEdge(sheet.west, 8, -0.125);
  const int rows = Truncated((north - south) * 8);
  const int columns = Truncated((west - east) * -8);
  if (columns < 1 || rows < 1) return;

  double longitude = east;
  for (int column = 0; column < columns; ++column, longitude -= 0.125) {
    const int digit = 1 + Truncated(std::fabs(Frac(longitude)) * 8);
    const int longitudeNumber = Truncated(-longitude);
    double latitude = south;
    for (int row = 0; row < rows; ++row, latitude += 0.125) {
      const char letter = static_cast<char>('A' + Truncated(std::fabs(Frac(latitude)) * 8));
      out.Line(FormatCellCode(Truncated(latitude), longitudeNumber, letter, digit).View());
    }
  }
}

void WriteHalfDegreeCover(const SheetRecord& sheet, bool mapLongitudes, PackListWriter& out) {
  const double eastLongitude = mapLongitudes && sheet.east > 0 ? sheet.east - 360 : sheet.east;
  const double south = std::trunc(sheet.south) + std::trunc(Frac(sheet.south) * 2) / 2;
  const double east = std::trunc(eastLongitude);
  const double north = OuterEdge(sheet.north, 2, 0.5);
  double west = std::trunc(sheet.west);
  if (west != sheet.west) west -= 1;
  if (mapLongitudes && west > 0) west -= 360;
  const int rows = Truncated((north - south) * 2);
  const int columns = Truncated(east - west);
  if (columns < 1 || rows < 1) return;

  double longitude = east;
  for (int column = 0; column < columns; ++column, longitude -= 1) {
    const int longitudeNumber = Truncated(-longitude);
    double latitude = south;
    for (int row = 0; row < rows; ++row, latitude += 0.5) {
      const char letter = latitude == std::trunc(latitude) ? 'A' : 'E';
      out.Line(FormatCellCode(Truncated(latitude), longitudeNumber, letter, 1).View());
    }
  }
}

}  // namespace velinst::packlist
