// The cells and sheets that cover a rectangle sheet. The edges are computed
// exactly as the region files were drawn against: double precision,
// truncation toward zero. Callers have checked that the coordinates are finite
// and on the globe, which bounds every cover.
#pragma once

#include "packlist/pack_list_writer.h"
#include "packlist/scale_table.h"

namespace velinst::packlist {

// The 1/8-degree cells covering the sheet's rectangle, column by column from
// east to west, each column from south to north.
void WriteEighthDegreeCover(const SheetRecord& sheet, PackListWriter& out);

// The 1:100,000 sheets (half a degree by one degree) covering the sheet's
// rectangle, in the same order. With `mapLongitudes` (the 1:250,000 series)
// a positive east longitude and a positive west edge are taken 360 degrees
// further west.
void WriteHalfDegreeCover(const SheetRecord& sheet, bool mapLongitudes, PackListWriter& out);

}  // namespace velinst::packlist
