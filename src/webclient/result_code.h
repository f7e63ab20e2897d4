// Result codes of Send and of every service method.
#pragma once

#include <cstdint>

namespace velinst {

inline constexpr std::int32_t kRKSuccess = 0;
// The server reported an error type that is not in the table.
inline constexpr std::int32_t kRKUnknownServerError = 4;
inline constexpr std::int32_t kRKExpiredAuthToken = 17;
// Also the code of an answer with HTTP status 404.
inline constexpr std::int32_t kRKRecordNotFound = 37;

// A service method's result code together with the value it returned.
template <typename Value>
struct CRKResult {
  std::int32_t code = kRKSuccess;
  Value value{};
};

}  // namespace velinst
