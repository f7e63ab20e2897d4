// A stopwatch on the platform's high-resolution counter.
#pragma once

#include <cstdint>

namespace velinst {

class CPerfTimer {
 public:
  CPerfTimer();

  void Start();
  // Stores the counter as the stop and returns the seconds since Start.
  double Stop();
  // The seconds between the last Start and Stop, without reading the counter.
  double Elapsed() const;
  // The seconds since the last Start, storing nothing.
  double Running() const;

 private:
  double Seconds(std::int64_t counts) const;

  std::int64_t frequency_;
  std::int64_t start_ = 0;
  std::int64_t stop_ = 0;
};

}  // namespace velinst
