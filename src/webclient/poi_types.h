// The kinds of point of interest, sent by name.
#pragma once

#include <cstdint>

namespace velinst {

inline constexpr std::int32_t kPointOfInterestTypeCount = 24;

// The name of type `index`; empty for an index outside the table.
const char* PointOfInterestTypeName(std::int32_t index);

}  // namespace velinst
