// Answer texts as the parsers read them: with the C library's reading of a
// leading number, without its dependence on the C locale.
#pragma once

#include <cstdint>
#include <string_view>

namespace velinst {

// The decimal number a text begins with (0 when none); out-of-range
// numbers stop at the ends of the type.
std::int32_t LeadingIntegerValue(std::string_view text);
double LeadingRealValue(std::string_view text);
// A real beyond float's range becomes an infinity of its sign.
float LeadingSingleValue(std::string_view text);
// True exactly for "true" in any letter case.
bool FlagValue(std::string_view text);

}  // namespace velinst
