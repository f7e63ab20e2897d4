#include "packlist/series_writer.h"

namespace velinst::packlist {

void WriteSeries(const ScaleInfoTable& table, std::int32_t scale, std::span<const SeriesWriter> writers,
                 PackListWriter& out) {
  for (const SeriesWriter& writer : writers) {
    if (writer.scale != scale) continue;
    for (const ScaleEntry& entry : table.entries) {
      if (entry.denominator != scale) continue;
      for (const SheetRecord& sheet : entry.primary) {
        if (sheet.IsEnd()) break;
        writer.write(sheet, out);
      }
    }
  }
}

}  // namespace velinst::packlist
