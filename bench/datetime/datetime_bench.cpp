// The HTTP date of conditional downloads, written with Format and read with
// Parse, against the C library's strftime and strptime of the same text in
// the same run.
#include <benchmark/benchmark.h>
#include <time.h>

#include <string>

#include "datetime/date_time.h"
#include "datetime/date_time_names.h"

namespace {

constexpr char kHttpDate[] = "Thu, 05 Mar 2009 14:07:09 GMT";
constexpr char kStrftimeHttpDate[] = "%a, %d %b %Y %H:%M:%S GMT";
constexpr time_t kInstant = 1236262029;

void Baseline_Strftime(benchmark::State& state) {
  std::tm fields{};
  ::gmtime_r(&kInstant, &fields);
  char text[64];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::strftime(text, sizeof text, kStrftimeHttpDate, &fields));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(Baseline_Strftime);

void FormatHttpDate(benchmark::State& state) {
  velinst::CDateTime value;
  value.SetSeconds(kInstant, 0);
  for (auto _ : state) benchmark::DoNotOptimize(value.Format(velinst::kPatternHttpDate));
}
BENCHMARK(FormatHttpDate);

void Baseline_Strptime(benchmark::State& state) {
  for (auto _ : state) {
    std::tm fields{};
    benchmark::DoNotOptimize(::strptime(kHttpDate, kStrftimeHttpDate, &fields));
    benchmark::DoNotOptimize(fields);
  }
}
BENCHMARK(Baseline_Strptime);

// strptime gives only the fields; the instant needs timegm as well.
void Baseline_StrptimeTimegm(benchmark::State& state) {
  for (auto _ : state) {
    std::tm fields{};
    ::strptime(kHttpDate, kStrftimeHttpDate, &fields);
    benchmark::DoNotOptimize(::timegm(&fields));
  }
}
BENCHMARK(Baseline_StrptimeTimegm);

void ParseHttpDate(benchmark::State& state) {
  velinst::CDateTime value;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value.Parse(velinst::kPatternHttpDate, kHttpDate));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(ParseHttpDate);

}  // namespace

BENCHMARK_MAIN();
