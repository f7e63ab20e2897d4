// The English day and month names and the library's named patterns. There
// is no locale: these are the only names formatting writes and parsing reads.
#pragma once

#include <string_view>

namespace velinst {

inline constexpr std::string_view kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
inline constexpr std::string_view kMonthNames[12] = {"January",   "February", "March",    "April",
                                                     "May",       "June",     "July",     "August",
                                                     "September", "October",  "November", "December"};

// Named patterns.
inline constexpr char kPatternDayMonthTimeYear[] = "ddd MMM dd HH:mm:ss yyyy";
inline constexpr char kPatternDayMonthTimeYearLine[] = "ddd MMM dd HH:mm:ss yyyy\n";
inline constexpr char kPatternNumericDateTime[] = "MM/dd/yyyy HH:mm:ss";
inline constexpr char kPatternTime12[] = "hh:mm:ss tt";
inline constexpr char kPatternShortDate[] = "M/dd/yyyy";
inline constexpr char kPatternIso8601Offset[] = "yyyy-MM-ddTHH:mm:sszzz";
inline constexpr char kPatternIso8601Utc[] = "yyyy-MM-ddTHH:mm:ssZ";
// RFC 1123, as HTTP headers carry dates; GMT is written through escapes.
inline constexpr char kPatternHttpDate[] = "ddd, dd MMM yyyy HH:mm:ss \\G\\M\\T";
inline constexpr char kPatternTimeSpan[] = "ddd HH:mm:ss.ff";
inline constexpr char kPatternDateSpan[] =
    "y 'Years,' M 'months,' w 'weeks,' d 'days,' H 'hours,' m 'minutes,' s 'seconds, and' f 'milliseconds'";

}  // namespace velinst
