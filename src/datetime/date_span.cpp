#include "datetime/date_span.h"

#include "datetime/span_seconds.h"

namespace velinst {

CDateSpan& CDateSpan::operator+=(const CDateSpan& other) {
  const auto amounts = other.Values();
  const auto fields = Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = SaturateToInt32(std::int64_t{*fields[i]} + amounts[i]);
  return *this;
}

CDateSpan& CDateSpan::operator-=(const CDateSpan& other) {
  const auto amounts = other.Values();
  const auto fields = Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = SaturateToInt32(std::int64_t{*fields[i]} - amounts[i]);
  return *this;
}

CDateSpan& CDateSpan::operator*=(std::int32_t factor) {
  for (std::int32_t* field : Fields()) *field = SaturateToInt32(std::int64_t{*field} * factor);
  return *this;
}

}  // namespace velinst
