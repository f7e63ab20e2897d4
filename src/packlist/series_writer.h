// Walking the series of one scale: entries in table order, each primary list
// in order up to its end record, every sheet handed to the writer that the
// pack list has for that series.
#pragma once

#include <cstdint>
#include <span>

#include "packlist/pack_list_writer.h"
#include "packlist/scale_table.h"

namespace velinst::packlist {

struct SeriesWriter {
  std::int32_t scale;
  void (*write)(const SheetRecord& sheet, PackListWriter& out);
};

// Writes the sheets of every entry of `scale`; a scale without a writer gives
// nothing.
void WriteSeries(const ScaleInfoTable& table, std::int32_t scale, std::span<const SeriesWriter> writers,
                 PackListWriter& out);

}  // namespace velinst::packlist
