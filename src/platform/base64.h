// Base64 with the standard alphabet (A-Z, a-z, 0-9, '+', '/') and '='
// padding, the encoding of encrypted request data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velinst {

// Bytes that Base64Encode writes for `length` input bytes, terminator included.
constexpr std::size_t Base64EncodedSize(std::size_t length) { return (length + 2) / 3 * 4 + 1; }
// The most bytes that Base64Decode writes for a text of `length` characters.
constexpr std::size_t Base64DecodedCapacity(std::size_t length) { return length / 4 * 3; }

// Writes the text of `length` bytes and a terminating 0 byte:
// Base64EncodedSize(length) bytes in all.
void Base64Encode(char* output, const std::uint8_t* input, std::size_t length);

// Decodes whole groups of 4 characters; a trailing partial group is not
// read. Stops after the group with '=' as its third character (1 byte from
// it) or fourth (2 bytes). Characters outside the alphabet are not reported:
// they count as the value 64 and spoil their group. Returns the bytes
// written, at most Base64DecodedCapacity(length).
std::size_t Base64Decode(std::uint8_t* output, const char* text, std::size_t length);

}  // namespace velinst
