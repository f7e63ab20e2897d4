#include "http/http_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace velinst::http {
namespace {

// Sizes at the top of size_t (4 GiB on the 32-bit DLL) are refused before
// any sum of them can wrap, and the body gathered so far stays whole.
TEST(BodyBuffer, ReservationsPastTheLimitAreRefusedWithoutWrapping) {
  BodyBuffer body;
  std::size_t room = 0;
  char* start = body.Reserve(5, room);
  ASSERT_NE(start, nullptr);
  const std::size_t capacity = room;
  std::memcpy(start, "a&b%<", 5);
  body.Commit(5);
  for (const std::size_t minimum : {SIZE_MAX, SIZE_MAX - 5, SIZE_MAX / 2, SIZE_MAX / 4}) {
    room = 7;
    EXPECT_EQ(body.Reserve(minimum, room), nullptr) << minimum;
    EXPECT_EQ(room, 7u) << minimum;
  }
  EXPECT_EQ(body.Size(), 5u);
  // One request for far more than the buffer holds grows it as far as needed.
  const std::size_t wanted = 5 * (capacity + 1);
  start = body.Reserve(wanted, room);
  ASSERT_NE(start, nullptr);
  ASSERT_GE(room, wanted);
  std::memset(start, 'x', wanted);
  body.Commit(wanted);
  const HttpBuffer whole = body.Release();
  ASSERT_NE(whole, nullptr);
  EXPECT_EQ(std::string(whole.get()), "a&b%<" + std::string(wanted, 'x'));
}

}  // namespace
}  // namespace velinst::http
