// Region files built in the tests, and a pack list kept in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "packlist/list_file.h"
#include "packlist/pack_list_writer.h"
#include "packlist/scale_table.h"

namespace velinst::packlist::test {

// One series of a test region: its scale line and its sheet lines. The list
// is closed by a last sheet line and a blank line.
struct Series {
  std::string scaleLine;
  std::vector<std::string> sheets;
};

// A region file of the format version holding the series, lines ended by
// `lineEnd`.
std::string RegionFile(const std::string& version, const std::vector<Series>& series,
                       const std::string& lineEnd = "\n");

// A pack list in memory. It can refuse a write after `acceptBytes` bytes or
// refuse to close, as a full disk does.
class MemoryListOutput final : public ListOutput {
 public:
  bool Write(const char* data, std::size_t size) override;
  bool Close() override { return closeSucceeds; }
  void Remove() override { removed = true; }

  std::string text;
  std::size_t acceptBytes = SIZE_MAX;
  bool closeSucceeds = true;
  bool removed = false;
};

// The lines of a pack list; each must end with a carriage return and a line
// feed (a line without them is returned with "<partial>" in front).
std::vector<std::string> ListLines(const std::string& text);

// A region text through the reader and a pack list family, into lines.
using FamilyWriter = void (*)(const ScaleInfoTable&, std::int32_t, PackListWriter&);
std::vector<std::string> PackListLines(const std::string& region, std::int32_t scale, FamilyWriter write);

// The shipped example regions, copied beside the test programs.
std::string ExamplePath(const std::string& name);

}  // namespace velinst::packlist::test
