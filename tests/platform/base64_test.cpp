#include "platform/base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace velinst {
namespace {

struct Vector {
  std::string bytes;
  std::string text;
};

// RFC 4648, section 10, and the short texts of the wire format.
const Vector kVectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
    {"abc", "YWJj"},
    {"ab", "YWI="},
    {"a", "YQ=="},
    {std::string("\xff\xfe\x00", 3), "//4A"},
};

constexpr char kCanary = '\x5a';

std::string Encode(const std::string& bytes) {
  std::vector<char> out(Base64EncodedSize(bytes.size()) + 4, kCanary);
  Base64Encode(out.data(), reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  const std::size_t size = Base64EncodedSize(bytes.size());
  EXPECT_EQ(out[size - 1], '\0') << "terminator at the stated size";
  for (std::size_t i = size; i < out.size(); ++i) EXPECT_EQ(out[i], kCanary) << "wrote past the stated size";
  return std::string(out.data());
}

// Decodes from a buffer of exactly `text.size()` bytes (no terminator to lean on).
std::string Decode(const std::string& text, std::size_t* written = nullptr) {
  std::vector<char> in(text.begin(), text.end());
  std::vector<std::uint8_t> out(Base64DecodedCapacity(text.size()) + 4, static_cast<std::uint8_t>(kCanary));
  const std::size_t count = Base64Decode(out.data(), in.data(), in.size());
  EXPECT_LE(count, Base64DecodedCapacity(text.size()));
  for (std::size_t i = Base64DecodedCapacity(text.size()); i < out.size(); ++i)
    EXPECT_EQ(out[i], static_cast<std::uint8_t>(kCanary)) << "wrote more than 3 bytes per group";
  if (written != nullptr) *written = count;
  return std::string(reinterpret_cast<const char*>(out.data()), count);
}

TEST(Base64, EncodesTheStandardVectors) {
  for (const Vector& v : kVectors) EXPECT_EQ(Encode(v.bytes), v.text) << v.text;
}

TEST(Base64, DecodesTheStandardVectors) {
  for (const Vector& v : kVectors) EXPECT_EQ(Decode(v.text), v.bytes) << v.text;
}

TEST(Base64, EncodedSizeIsFourPerStartedGroupAndTerminator) {
  EXPECT_EQ(Base64EncodedSize(0), 1u);
  EXPECT_EQ(Base64EncodedSize(1), 5u);
  EXPECT_EQ(Base64EncodedSize(3), 5u);
  EXPECT_EQ(Base64EncodedSize(4), 9u);
  EXPECT_EQ(Base64EncodedSize(16), 25u);  // a DES block pair plus padding block: 24 bytes -> 32
  EXPECT_EQ(Base64EncodedSize(24), 33u);
}

TEST(Base64, RoundTripsEveryLengthAndByteValue) {
  std::mt19937 random(4648);
  for (std::size_t length = 0; length < 300; ++length) {
    std::string bytes(length, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const std::string text = Encode(bytes);
    ASSERT_EQ(text.size(), Base64EncodedSize(length) - 1);
    ASSERT_EQ(Decode(text), bytes) << "length " << length;
  }
}

TEST(Base64, DecodeTakesOnlyWholeGroups) {
  struct Case {
    std::string text;
    std::string bytes;
  };
  const Case cases[] = {
      {"Z", ""},                              // shorter than a group: nothing
      {"Zm9", ""},                            //
      {"Zm9vY", "foo"},                       // a trailing partial group is not read
      {"Zm9vYmE", "foo"}, {"YQ==Zm9v", "a"},  // stops at the padded group
      {"YWI=Zm9v", "ab"}, {"YQ=x", "a"},      // '=' third ends the text whatever follows
  };
  for (const Case& c : cases) EXPECT_EQ(Decode(c.text), c.bytes) << c.text;
}

TEST(Base64, CharactersOutsideTheAlphabetSpoilOnlyTheirGroup) {
  // '!' counts as 64: in the fourth position its seventh bit lands on the
  // third character's lowest bit; in the first it falls above the group.
  EXPECT_EQ(Decode("Zm9!Zm9v"), std::string("fo\x40"
                                            "foo"));
  EXPECT_EQ(Decode("!m9vYQ=="), std::string("\x02oo"
                                            "a"));
  EXPECT_EQ(Decode(std::string("Zm\0vYQ==", 8)), std::string("fp/a"));
}

}  // namespace
}  // namespace velinst
