// Numbers and flags as clients send them ("%d", "%f", "true"/"false").
// Strict: the whole text must be the value, or there is none.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velinst::service {

// A decimal whole number in the 32-bit range clients use, optional sign.
std::optional<std::int64_t> IntegerText(std::string_view text);
// A finite decimal number.
std::optional<double> RealValueText(std::string_view text);
// "true" or "false" in any case, or "1" / "0".
std::optional<bool> BooleanText(std::string_view text);

}  // namespace velinst::service
