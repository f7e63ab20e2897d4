#include "packlist/pack_list_export.h"

#include <utility>

#include "packlist/region_reader.h"
#include "platform/last_error.h"

namespace velinst::packlist {
namespace {

// The list file, removed when it goes unless it was closed whole and kept.
class PendingList {
 public:
  explicit PendingList(std::unique_ptr<ListOutput> output) : output_(std::move(output)) {}
  PendingList(const PendingList&) = delete;
  PendingList& operator=(const PendingList&) = delete;
  ~PendingList() {
    if (!kept_) output_->Remove();
  }

  ListOutput& Output() { return *output_; }
  // Closes the list and keeps it; false (and the list goes) when closing
  // reported lost data.
  bool Keep() { return kept_ = output_->Close(); }

 private:
  std::unique_ptr<ListOutput> output_;
  bool kept_ = false;
};

}  // namespace

int MakePackList(const char* regionPath, const char* listPath, std::int32_t scale, const PackListFamily& family,
                 const ListFileFactory& createList) {
  if (NamesSameFile(listPath, regionPath)) {
    platform::SetLastError(platform::kErrorInvalidParameter);
    return kPackListFailed;
  }
  std::unique_ptr<ListOutput> output = createList(listPath);
  if (!output) return kPackListFailed;
  PendingList list(std::move(output));
  if (family.refusesQuadrangleScale && scale == kQuadrangleScale) return kPackListScaleRefused;

  ScaleInfoTable table;
  const RegionReadResult read = ReadRegionFile(regionPath, table);
  if (read.fault != RegionFault::kNone) {
    PrintRegionFault(regionPath, read);
    return kPackListFailed;
  }
  PackListWriter writer(list.Output());
  try {
    family.write(table, scale, writer);
    writer.Flush();
  } catch (const PackListWriteFailed&) {
    return kPackListFailed;
  }
  if (writer.Lines() == 0) return 0;  // an empty list is not left behind
  return list.Keep() ? writer.Lines() : kPackListFailed;
}

}  // namespace velinst::packlist
