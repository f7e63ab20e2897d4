#include "webclient/weather_names.h"

#include <cstddef>
#include <span>

namespace velinst {

namespace {

// Constant tables: nothing to fill at load or release at unload.
constexpr const char* kConditionNames[] = {
    "Unknown condition",
    "Clear",
    "Light Rain",
    "Rain",
    "Heavy Rain",
    "Light Rain/Snow",
    "Heavy Rain/Snow",
    "Rain/Snow",
    "Light Snow",
    "Snow",
    "Heavy Snow",
    "Cloudy",
    "Partly Cloudy",
    "Partly Clear",
    "Fog",
    "Windy",
    "Mostly Cloudy",
    "Mostly Clear",
    "Light Showers",
    "Showers",
    "Heavy Showers",
    "Scattered Showers",
    "Chance of Showers",
    "Thunderstorm",
    "Scattered Thunderstorms",
    "Chance of Thunderstorms",
    "Mist",
    "Dust",
    "Drizzle",
    "Tornado",
    "Smoke",
    "Hail",
    "Ice",
    "Hazy",
    "Sand",
    "Sqall",
    "Sandstorm",
    "Precip",
    "Volcanic Ash",
    "Haze",
    "Fair",
    "Hurricane",
    "Tropical Storm",
    "Chance of Snow",
    "Chance of Rain/Snow",
    "Cloudy and Chance of Rain",
    "Cloudy and Chance of Snow",
    "Cloudy and Chance of Rain/Snow",
    "Flurries",
    "Freezing rain",
    "Sleet",
    "Ice/snow",
    "Snow/ice/rain (icy mix)",
    "Thin Clouds",
};
static_assert(std::size(kConditionNames) == 54);

constexpr const char* kDayOfWeekNames[] = {
    "Undefined", "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};

constexpr const char* kMoonPhaseNames[] = {
    "New Moon",  "Waxing Crescent", "First Quarter", "Waxing Gibbous",
    "Full Moon", "Waning Gibbous",  "Third Quarter", "Waning Crescent",
};

const char* NameAt(std::span<const char* const> names, std::int32_t id) {
  if (id < 0 || static_cast<std::size_t>(id) >= names.size()) return nullptr;
  return names[static_cast<std::size_t>(id)];
}

}  // namespace

const char* ConditionName(std::int32_t conditionId) { return NameAt(kConditionNames, conditionId); }
const char* DayOfWeekName(std::int32_t dayOfWeekId) { return NameAt(kDayOfWeekNames, dayOfWeekId); }
const char* MoonPhaseName(std::int32_t moonPhaseId) { return NameAt(kMoonPhaseNames, moonPhaseId); }

}  // namespace velinst
