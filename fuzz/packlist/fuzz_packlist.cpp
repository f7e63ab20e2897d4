// Any bytes as a region file: the reader refuses the file or builds a sound
// table, and both pack lists write whole lines of bounded length, as many as
// they count, for every scale the file names and the three they know.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "packlist/pack_list_100k.h"
#include "packlist/pack_list_24k.h"
#include "packlist/pack_list_writer.h"
#include "packlist/region_reader.h"

namespace {

using velinst::packlist::ListOutput;
using velinst::packlist::PackListWriter;
using velinst::packlist::ScaleInfoTable;

// Keeps a bounded part of the list, then refuses further writes as a full
// disk would: huge rectangle covers end early.
class CappedOutput final : public ListOutput {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (text.size() + size > kCap) return false;
    text.append(data, size);
    return true;
  }
  bool Close() override { return true; }
  void Remove() override {}

  static constexpr std::size_t kCap = 1 << 16;
  std::string text;
};

void CheckTable(const ScaleInfoTable& table) {
  for (const auto& entry : table.entries) {
    if (entry.primary.empty() || !entry.primary.back().IsEnd()) __builtin_trap();
    if (std::memchr(entry.scaleName, '\0', sizeof entry.scaleName) == nullptr) __builtin_trap();
    for (const auto* list : {&entry.primary, &entry.setAside}) {
      for (const auto& sheet : *list) {
        if (std::memchr(sheet.cellCode, '\0', sizeof sheet.cellCode) == nullptr) __builtin_trap();
        if (sheet.description.size() > velinst::packlist::kDescriptionLength) __builtin_trap();
        if (sheet.IsSetAside() != (list == &entry.setAside)) __builtin_trap();
      }
    }
  }
}

template <typename Write>
void CheckList(const ScaleInfoTable& table, std::int32_t scale, Write write) {
  CappedOutput output;
  PackListWriter writer(output);
  try {
    write(table, scale, writer);
    writer.Flush();
  } catch (const velinst::packlist::PackListWriteFailed&) {
    return;
  }
  std::size_t lines = 0;
  std::size_t start = 0;
  while (start < output.text.size()) {
    const std::size_t end = output.text.find("\r\n", start);
    if (end == std::string::npos || end - start > 24) __builtin_trap();
    ++lines;
    start = end + 2;
  }
  if (lines != static_cast<std::size_t>(writer.Lines())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ScaleInfoTable table;
  const auto result =
      velinst::packlist::ParseRegion(std::string_view(reinterpret_cast<const char*>(data), size), table);
  if (result.fault != velinst::packlist::RegionFault::kNone) {
    if (!table.entries.empty() || result.fault == velinst::packlist::RegionFault::kCannotOpen) __builtin_trap();
    if (result.fault == velinst::packlist::RegionFault::kLayout && result.line < 1) __builtin_trap();
    return 0;
  }
  CheckTable(table);
  std::vector<std::int32_t> scales = {24000, 100000, 250000};
  for (const auto& entry : table.entries)
    if (scales.size() < 8) scales.push_back(entry.denominator);
  for (const std::int32_t scale : scales) {
    CheckList(table, scale, velinst::packlist::WritePackList24K);
    CheckList(table, scale, velinst::packlist::WritePackList100K);
  }
  return 0;
}
