// The 1:100,000 pack list: every 1:100,000 sheet the installer copies for the
// sheets of one series.
#pragma once

#include <cstdint>

#include "packlist/pack_list_writer.h"
#include "packlist/scale_table.h"

namespace velinst::packlist {

// Writes the sheets of every entry of the requested scale, entries in table
// order, sheets in list order.
void WritePackList100K(const ScaleInfoTable& table, std::int32_t scale, PackListWriter& out);

}  // namespace velinst::packlist
