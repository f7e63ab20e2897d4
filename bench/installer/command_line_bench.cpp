// Splitting a command line with the Windows runtime's rules, against the
// least any splitter does: one pass that cuts the text at blanks.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "installer/command_line.h"

namespace {

const std::string kLine = "\"C:\\Program Files\\Vendor\\setup.exe\" /quiet \"target dir\\with blanks\" "
                          "--flag=1 a\\\\b \"c\\\"d\" plain plain plain plain plain";

void Baseline_BlankSplit(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::string> parts;
    std::string current;
    for (const char c : kLine) {
      if (c == ' ') {
        if (!current.empty()) parts.push_back(std::move(current));
        current.clear();
      } else {
        current += c;
      }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    benchmark::DoNotOptimize(parts);
  }
}
BENCHMARK(Baseline_BlankSplit);

void SplitCommandLine(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(velinst::SplitCommandLine(kLine));
}
BENCHMARK(SplitCommandLine);

}  // namespace

BENCHMARK_MAIN();
