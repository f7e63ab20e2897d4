// Numbers and fields out of region-file lines, read as the C library's
// conversions read them but independent of the locale, never past the line
// and never overflowing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velinst::packlist {

// The integer at the start of `text` as "%d" reads it: white space, an
// optional sign, digits. Values beyond 32 bits are clamped. Empty when there
// is no digit. `text` is advanced past what was read.
std::optional<std::int32_t> ScanInt(std::string_view& text);

// The real at the start of `text` as strtod reads it (white space, optional
// sign, decimal digits with fraction and exponent, "inf", "nan"; '.' is the
// decimal point). A magnitude beyond the double's range reads as infinity, a
// vanishing one as 0. Empty when there is no number; `text` is advanced.
std::optional<double> ScanReal(std::string_view& text);

// Copies `text` into a field of `size` bytes, cut to size - 1 characters and
// terminated.
void CopyField(std::string_view text, char* field, std::size_t size);
template <std::size_t Size>
void CopyField(std::string_view text, char (&field)[Size]) {
  CopyField(text, field, Size);
}

// Splits a text as strtok does: each token starts after any run of the
// delimiters and ends before the next one, which is consumed with it.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : rest_(text) {}
  std::optional<std::string_view> Next(std::string_view delimiters);

 private:
  std::string_view rest_;
};

}  // namespace velinst::packlist
