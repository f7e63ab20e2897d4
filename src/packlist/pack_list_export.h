// What the pack-list exports share: the list is created first, the region is
// read into a table of the call's own (so overlapping calls are safe), the
// family's lines are written, and the list is removed on every path that
// does not keep it, so an installer never copies from a partial list.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "packlist/list_file.h"
#include "packlist/pack_list_writer.h"
#include "packlist/scale_table.h"

namespace velinst::packlist {

// Results besides the count of lines.
inline constexpr int kPackListFailed = -1;
inline constexpr int kPackListScaleRefused = -2;

struct PackListFamily {
  void (*write)(const ScaleInfoTable& table, std::int32_t scale, PackListWriter& out);
  // The 1:100,000 list has no 1:24,000 form: that scale gives -2.
  bool refusesQuadrangleScale;
};

using ListFileFactory = std::function<std::unique_ptr<ListOutput>(const char* path)>;

// Writes the family's pack list of `scale` from the region file: the number
// of lines written, 0 (and no list) when there are none, -1 when the list
// cannot be created or written whole or the region cannot be read, -2 for a
// refused scale. A list path naming the region file itself is refused with
// -1 before anything is created.
int MakePackList(const char* regionPath, const char* listPath, std::int32_t scale, const PackListFamily& family,
                 const ListFileFactory& createList = CreateListFile);

}  // namespace velinst::packlist
