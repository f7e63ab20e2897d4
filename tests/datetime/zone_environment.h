// Tests of local values run in a zone of their choosing: TZ is set and the
// runtime told to read it again, then the previous zone comes back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace velinst::test {

// Sets (or, with null, removes) TZ and has the runtime re-read it.
void SetZoneVariable(const char* value);

class ScopedZone {
 public:
  explicit ScopedZone(const char* zone) {
    if (const char* previous = std::getenv("TZ")) previous_ = previous;
    SetZoneVariable(zone);
  }
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;
  ~ScopedZone() { SetZoneVariable(previous_ ? previous_->c_str() : nullptr); }

 private:
  std::optional<std::string> previous_;
};

// Zones without daylight saving rules, so that tests do not depend on the date.
inline constexpr char kZoneFiveWest[] = "EST5";
inline constexpr char kZoneFiveThirtyEast[] = "IST-5:30";
inline constexpr char kZoneUtc[] = "UTC0";

}  // namespace velinst::test
