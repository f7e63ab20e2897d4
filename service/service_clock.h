// The service's time: the system clock plus an offset that tests set
// through the control path (token expiry without waiting), and the text
// form of instants in answers.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velinst::service {

class ServiceClock {
 public:
  // Seconds since 1970-01-01 UTC.
  std::int64_t Now() const;
  std::int64_t Offset() const { return offset_; }
  void SetOffset(std::int64_t seconds) { offset_ = seconds; }

 private:
  std::atomic<std::int64_t> offset_{0};
};

// "2024-05-01T12:34:56Z".
std::string FormatTimestamp(std::int64_t seconds);
// Reads "YYYY-MM-DDTHH:MM:SS" (or a space for the "T") with optional
// fractional seconds and an optional "Z", always as UTC; a date alone
// is its midnight.
std::optional<std::int64_t> ParseTimestamp(std::string_view text);

}  // namespace velinst::service
