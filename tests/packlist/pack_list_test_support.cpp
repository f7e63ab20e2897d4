#include "pack_list_test_support.h"

#include <algorithm>
#include <stdexcept>

#include "packlist/region_reader.h"
#include "test_support.h"

namespace velinst::packlist::test {

std::vector<std::string> PackListLines(const std::string& region, std::int32_t scale, FamilyWriter write) {
  ScaleInfoTable table;
  const RegionReadResult read = ParseRegion(region, table);
  if (read.fault != RegionFault::kNone) throw std::runtime_error(std::string("region refused: ") + read.problem);
  MemoryListOutput output;
  PackListWriter writer(output);
  write(table, scale, writer);
  writer.Flush();
  const std::vector<std::string> lines = ListLines(output.text);
  if (static_cast<std::size_t>(writer.Lines()) != lines.size()) throw std::runtime_error("count differs from lines");
  return lines;
}

std::string RegionFile(const std::string& version, const std::vector<Series>& series, const std::string& lineEnd) {
  std::string text;
  const auto line = [&](const std::string& content) { text += content + lineEnd; };
  line("Test region");
  line("T-1");
  line(version);
  line("// written by the tests");
  line("");
  for (const char* uninterpreted : {"publisher", "datum", "units", "edition"}) line(uninterpreted);
  line(std::to_string(series.size()));
  for (const Series& entry : series) {
    line(entry.scaleLine);
    line("-123.0, 37.0, -122.0, 38.0");
    line("1, 2, 3, 4");
    line("122, 1, 37, 1");
    line("");  // no rectangle lines
    line("// sheets");
    for (const std::string& sheet : entry.sheets) line(sheet);
    line("0, \"\", \"closes the list\"");
    line("");
  }
  return text;
}

bool MemoryListOutput::Write(const char* data, std::size_t size) {
  if (size > acceptBytes - std::min(acceptBytes, text.size())) return false;
  text.append(data, size);
  return true;
}

std::vector<std::string> ListLines(const std::string& text) {
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

std::string ExamplePath(const std::string& name) { return velinst::test::ProgramDir() + "examples/" + name; }

}  // namespace velinst::packlist::test
