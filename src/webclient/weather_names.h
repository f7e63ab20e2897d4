// Display names of the numbers that the weather answers carry: the
// condition, the day of the week and the moon's phase.
#pragma once

#include <cstdint>

namespace velinst {

// The name of an identifier, or null for one outside its table.
const char* ConditionName(std::int32_t conditionId);  // 0 to 53
const char* DayOfWeekName(std::int32_t dayOfWeekId);  // 0 to 7, 1 is Sunday
const char* MoonPhaseName(std::int32_t moonPhaseId);  // 0 to 7, 0 is new moon

}  // namespace velinst
