#include "platform/perf_timer.h"

#include "platform/performance_counter.h"

namespace velinst {

CPerfTimer::CPerfTimer() : frequency_(platform::PerformanceFrequency()) {}

void CPerfTimer::Start() { start_ = platform::PerformanceCounter(); }

double CPerfTimer::Stop() {
  stop_ = platform::PerformanceCounter();
  return Elapsed();
}

double CPerfTimer::Elapsed() const { return Seconds(stop_ - start_); }

double CPerfTimer::Running() const { return Seconds(platform::PerformanceCounter() - start_); }

double CPerfTimer::Seconds(std::int64_t counts) const {
  return static_cast<double>(counts) / static_cast<double>(frequency_);
}

}  // namespace velinst
