#include "platform/base64.h"

#include <array>
#include <cstring>

namespace velinst {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPad = '=';

// Encoding looks up 12 bits (two output characters) at a time.
constexpr std::array<std::array<char, 2>, 4096> MakePairTable() {
  std::array<std::array<char, 2>, 4096> table{};
  for (unsigned i = 0; i < 4096; ++i) table[i] = {kAlphabet[i >> 6], kAlphabet[i & 63]};
  return table;
}
constexpr auto kPairs = MakePairTable();

// Decoding: one table per position in the group holding the character's
// six bits already shifted into the 24-bit group value. A character outside
// the alphabet has the value 64, whose seventh bit lands in the neighbouring
// position (or above the group, where it is lost).
constexpr std::uint32_t kInvalid = 64;

constexpr std::array<std::uint32_t, 256> MakeDecodeTable(unsigned shift) {
  std::array<std::uint32_t, 256> table{};
  for (unsigned c = 0; c < 256; ++c) table[c] = (kInvalid << shift) & 0xFFFFFF;
  for (unsigned v = 0; v < 64; ++v)
    table[static_cast<unsigned char>(kAlphabet[v])] = (static_cast<std::uint32_t>(v) << shift) & 0xFFFFFF;
  return table;
}
constexpr auto kDecode0 = MakeDecodeTable(18);
constexpr auto kDecode1 = MakeDecodeTable(12);
constexpr auto kDecode2 = MakeDecodeTable(6);
constexpr auto kDecode3 = MakeDecodeTable(0);

}  // namespace

void Base64Encode(char* output, const std::uint8_t* input, std::size_t length) {
  // Two groups at a time: one 8-byte store instead of four 2-byte ones.
  const std::uint8_t* const pairsEnd = input + length / 6 * 6;
  for (; input != pairsEnd; input += 6, output += 8) {
    const std::uint64_t groups = (std::uint64_t{input[0]} << 40) | (std::uint64_t{input[1]} << 32) |
                                 (std::uint64_t{input[2]} << 24) | (std::uint64_t{input[3]} << 16) |
                                 (std::uint64_t{input[4]} << 8) | input[5];
    char text[8];
    std::memcpy(text, kPairs[groups >> 36].data(), 2);
    std::memcpy(text + 2, kPairs[(groups >> 24) & 0xFFF].data(), 2);
    std::memcpy(text + 4, kPairs[(groups >> 12) & 0xFFF].data(), 2);
    std::memcpy(text + 6, kPairs[groups & 0xFFF].data(), 2);
    std::memcpy(output, text, 8);
  }
  const std::uint8_t* const end = input + (length % 6) / 3 * 3;
  for (; input != end; input += 3, output += 4) {
    const std::uint32_t group = (std::uint32_t{input[0]} << 16) | (std::uint32_t{input[1]} << 8) | input[2];
    std::memcpy(output, kPairs[group >> 12].data(), 2);
    std::memcpy(output + 2, kPairs[group & 0xFFF].data(), 2);
  }
  switch (length % 3) {
    case 1:
      output[0] = kAlphabet[input[0] >> 2];
      output[1] = kAlphabet[(input[0] & 3) << 4];
      output[2] = kPad;
      output[3] = kPad;
      output += 4;
      break;
    case 2:
      output[0] = kAlphabet[input[0] >> 2];
      output[1] = kAlphabet[((input[0] & 3) << 4) | (input[1] >> 4)];
      output[2] = kAlphabet[(input[1] & 15) << 2];
      output[3] = kPad;
      output += 4;
      break;
  }
  *output = '\0';
}

std::size_t Base64Decode(std::uint8_t* output, const char* text, std::size_t length) {
  const auto* in = reinterpret_cast<const unsigned char*>(text);
  const auto* const end = in + length / 4 * 4;
  std::uint8_t* out = output;
  for (; in != end; in += 4) {
    const std::uint32_t group = kDecode0[in[0]] | kDecode1[in[1]] | kDecode2[in[2]] | kDecode3[in[3]];
    out[0] = static_cast<std::uint8_t>(group >> 16);
    if (in[2] == kPad) return static_cast<std::size_t>(out + 1 - output);
    out[1] = static_cast<std::uint8_t>(group >> 8);
    if (in[3] == kPad) return static_cast<std::size_t>(out + 2 - output);
    out[2] = static_cast<std::uint8_t>(group);
    out += 3;
  }
  return static_cast<std::size_t>(out - output);
}

}  // namespace velinst
