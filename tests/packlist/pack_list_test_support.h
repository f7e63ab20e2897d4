// Region files built in the packlist tests, and a pack list kept in memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "packlist/list_file.h"
#include "packlist/pack_list_writer.h"

namespace velinst::packlist {

// One series of a test region: its scale line and its sheet lines. The list
// is closed by a last sheet line and a blank line.
struct Series {
  std::string scaleLine;
  std::vector<std::string> sheets;
};

// A pack list in memory. It can refuse a write after `acceptBytes` bytes or
// refuse to close, as a full disk does.
class MemoryListOutput final : public ListOutput {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (size > acceptBytes - std::min(acceptBytes, text.size())) return false;
    text.append(data, size);
    return true;
  }
  bool Close() override { return closeSucceeds; }
  void Remove() override { removed = true; }

  std::string text;
  std::size_t acceptBytes = SIZE_MAX;
  bool closeSucceeds = true;
  bool removed = false;
};

// A region file of the format version holding the series, lines ended by
// `lineEnd`.
inline std::string RegionFile(const std::string& version, const std::vector<Series>& series,
                              const std::string& lineEnd = "\n") {
  std::string text;
  const auto lines = [&](std::initializer_list<std::string> contents) {
    for (const std::string& content : contents) text += content + lineEnd;
  };
  lines({"Test region", "T-1", version, "// written by the tests", "", "publisher", "datum", "units", "edition",
         std::to_string(series.size())});
  for (const Series& entry : series) {
    // No rectangle lines.
    lines({entry.scaleLine, "-123.0, 37.0, -122.0, 38.0", "1, 2, 3, 4", "122, 1, 37, 1", "", "// sheets"});
    for (const std::string& sheet : entry.sheets) lines({sheet});
    lines({"0, \"\", \"closes the list\"", ""});
  }
  return text;
}

// The lines of a pack list; each must end with a carriage return and a line
// feed (a line without them is returned with "<partial>" in front).
inline std::vector<std::string> ListLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<partial>" + text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// What a writer gives, as lines; its count must match them.
inline std::vector<std::string> WrittenLines(const std::function<void(PackListWriter&)>& write) {
  MemoryListOutput output;
  PackListWriter writer(output);
  write(writer);
  writer.Flush();
  const std::vector<std::string> lines = ListLines(output.text);
  if (static_cast<std::size_t>(writer.Lines()) != lines.size()) throw std::runtime_error("count differs from lines");
  return lines;
}

using Lines = std::vector<std::string>;

}  // namespace velinst::packlist
