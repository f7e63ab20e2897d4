// Bytes from the kernel's random source, for salts, tokens and keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velinst::service {

void FillRandom(std::uint8_t* data, std::size_t length);
// `length` random bytes as lower-case hexadecimal text.
std::string RandomHex(std::size_t length);

}  // namespace velinst::service
