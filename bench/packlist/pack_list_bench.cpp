// VEL_MakePackList24K on generated regions of 100,000 sheets, against the
// least any implementation does: read the region line by line with fgets
// once and write the same list lines with buffered fputs. Both run in turn in
// every iteration; the counters give both times and their ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"
#include "velinst.h"

namespace {

constexpr int kSheets = 100000;

// A region of sheets in blocks across the conterminous states.
struct Generator {
  std::string text;
  int sheet = 0;

  void Line(const std::string& line) { text += line + "\n"; }

  void Header(int series) {
    Line("Generated region");
    Line("GEN-1");
    Line("2.0");
    Line("// generated for the benchmark");
    Line("");
    for (const char* line : {"publisher", "datum", "units", "edition"}) Line(line);
    Line(std::to_string(series));
  }

  void Series(const char* scaleLine, int sheets, const char* (*sheetLine)(int index, char* buffer)) {
    Line(scaleLine);
    Line("-125.0, 24.0, -66.0, 50.0");
    Line("1, 2, 3, 4");
    Line("125, 1, 24, 1");
    Line("");
    Line("// sheets");
    char buffer[160];
    for (int i = 0; i < sheets; ++i) Line(sheetLine(i, buffer));
    Line("0, \"\", \"closes the list\"");
    Line("");
  }
};

// Plain, double-width and rectangle quadrangles in turn.
const char* Quadrangle(int i, char* buffer) {
  const int latitude = 25 + (i / 64) % 24;
  const int longitude = 70 + (i / (64 * 24)) % 55;
  const char row = static_cast<char>('A' + (i / 8) % 8);
  const int column = 1 + i % 8;
  switch (i % 10) {
    case 6:
    case 7:
      std::snprintf(buffer, 160, "2, \"%02d%03d-%c%d\", \"double width %d\"", latitude, longitude, row, column, i);
      break;
    case 8:
    case 9: {
      const double south = latitude + (row - 'A') / 8.0 + 0.01;
      const double east = -(longitude + (column - 1) / 8.0 + 0.01);
      std::snprintf(buffer, 160, "8, \"%02d%03d-%c%d\", \"rectangle %d\", %.4f, %.4f, %.4f, %.4f", latitude, longitude,
                    row, column, i, south, east, south + 0.2, east - 0.2);
      break;
    }
    default:
      std::snprintf(buffer, 160, "0, \"%02d%03d-%c%d\", \"quadrangle %d\"", latitude, longitude, row, column, i);
  }
  return buffer;
}

const char* HundredThousand(int i, char* buffer) {
  std::snprintf(buffer, 160, "0, \"%02d%03d-%c1\", \"sheet %d\"", 25 + (i / 2) % 24, 70 + (i / 48) % 55,
                i % 2 == 0 ? 'A' : 'E', i);
  return buffer;
}

const char* QuarterMillion(int i, char* buffer) {
  std::snprintf(buffer, 160, "0, \"%02d%03d-A1\", \"sheet %d\"", 25 + i % 24, 70 + (i / 24) % 55, i);
  return buffer;
}

struct Region {
  std::string path;
  int scale;
};

class Fixture {
 public:
  Fixture() {
    Generator quadrangles;
    quadrangles.Header(1);
    quadrangles.Series("24, \"quadrangles\"", kSheets, Quadrangle);
    velinst::test::WriteWholeFile(quadranglesPath_, quadrangles.text);

    Generator mixed;
    mixed.Header(3);
    mixed.Series("24, \"quadrangles\"", kSheets * 8 / 10, Quadrangle);
    mixed.Series("100, \"1:100,000\"", kSheets * 15 / 100, HundredThousand);
    mixed.Series("250, \"1:250,000\"", kSheets * 5 / 100, QuarterMillion);
    velinst::test::WriteWholeFile(mixedPath_, mixed.text);
  }

  const std::string& Path(bool mixed) const { return mixed ? mixedPath_ : quadranglesPath_; }
  std::string List() const { return dir_.File("pack.lst"); }
  std::string BaselineList() const { return dir_.File("baseline.lst"); }

 private:
  velinst::test::TempDir dir_;
  std::string quadranglesPath_ = dir_.File("quadrangles.rgn");
  std::string mixedPath_ = dir_.File("mixed.rgn");
};

const Fixture& Regions() {
  static const Fixture fixture;
  return fixture;
}

// The lines of a written list, each with its line end.
std::vector<std::string> ListLines(const std::string& path) {
  std::vector<std::string> lines;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  char line[64];
  while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) lines.emplace_back(line);
  if (file != nullptr) std::fclose(file);
  return lines;
}

void Baseline(const std::string& region, const std::vector<std::string>& lines, const std::string& list) {
  std::FILE* in = std::fopen(region.c_str(), "r");
  char line[512];
  while (std::fgets(line, sizeof line, in) != nullptr) benchmark::DoNotOptimize(line);
  std::fclose(in);
  std::FILE* out = std::fopen(list.c_str(), "wb");
  for (const std::string& text : lines) std::fputs(text.c_str(), out);
  std::fclose(out);
}

template <typename Body>
double Seconds(Body body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Arguments: the scale, and 1 for the mixed region.
void MakePackList24K(benchmark::State& state) {
  const Fixture& regions = Regions();
  const int scale = static_cast<int>(state.range(0));
  const std::string& region = regions.Path(state.range(1) != 0);
  const std::string list = regions.List();
  const int count = VEL_MakePackList24K(region.c_str(), list.c_str(), scale);
  const std::vector<std::string> lines = ListLines(list);
  if (count <= 0 || static_cast<std::size_t>(count) != lines.size()) {
    state.SkipWithError("the export did not write its list");
    return;
  }
  double exportSeconds = 0;
  double baselineSeconds = 0;
  for (auto _ : state) {
    const double seconds = Seconds([&] { VEL_MakePackList24K(region.c_str(), list.c_str(), scale); });
    state.SetIterationTime(seconds);
    exportSeconds += seconds;
    baselineSeconds += Seconds([&] { Baseline(region, lines, regions.BaselineList()); });
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["lines"] = count;
  state.counters["export_ms"] = exportSeconds * 1000 / iterations;
  state.counters["baseline_ms"] = baselineSeconds * 1000 / iterations;
  state.counters["ratio"] = exportSeconds / baselineSeconds;
}
BENCHMARK(MakePackList24K)
    ->ArgNames({"scale", "mixed"})
    ->Args({24000, 0})
    ->Args({24000, 1})
    ->Args({100000, 1})
    ->Args({250000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
