// Conversions between instants and calendar records with the Windows
// runtime's valid range on every platform: 1970-01-01 00:00:00 to
// 3000-12-31 23:59:59 UTC. Outside it they give the runtime's error value,
// so the Windows and the host build compute the same.
#pragma once

#include <cstdint>
#include <ctime>

namespace velinst {

inline constexpr std::int64_t kTimeError = -1;
inline constexpr std::int64_t kLatestTime = 32535215999;  // 3000-12-31 23:59:59 UTC

// The UTC calendar record of `seconds`; false, with every field -1 as the
// Windows runtime leaves them, outside the valid range.
bool UtcRecord(std::int64_t seconds, std::tm& record);

// The instant of a record whose fields may lie outside their usual ranges
// (they are normalised as the runtime does); kTimeError outside the range.
// A local record's own daylight field is not read: the runtime decides
// whether daylight saving applies at the fields' date, and `daylight` says
// what it decided (1 or 0).
std::int64_t LocalRecordToTime(const std::tm& record, std::int32_t& daylight);
std::int64_t UtcRecordToTime(const std::tm& record);

}  // namespace velinst
