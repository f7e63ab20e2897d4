#include "password_hash.h"
#include "password_work.h"

#include <gtest/gtest.h>

#include <string>

namespace velinst::service {
namespace {

std::span<const std::uint8_t> Bytes(const char* text) {
  return {reinterpret_cast<const std::uint8_t*>(text), std::char_traits<char>::length(text)};
}

TEST(PasswordHash, MatchesPbkdf2HmacSha256KnownAnswers) {
  EXPECT_EQ(HashPasswordWithSalt("passwd", 1, Bytes("salt")),
            "pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=");
  EXPECT_EQ(HashPasswordWithSalt("Password", 80000, Bytes("NaCl")),
            "pbkdf2-sha256$80000$TmFDbA==$TdzY9guYviGDDO5e8icB+WQaRBjQTAQUrv8Ih2s0q1Y=");
}

TEST(PasswordHash, VerifiesOnlyTheRightPasswordAndSaltsEveryHash) {
  const std::string stored = HashPassword("s3cret&amp;", kMinimumHashIterations);
  EXPECT_TRUE(VerifyPassword("s3cret&amp;", stored));
  for (const char* wrong : {"s3cret&", "", "S3cret&amp;"}) EXPECT_FALSE(VerifyPassword(wrong, stored)) << wrong;
  EXPECT_EQ(stored.find("s3cret"), std::string::npos);
  EXPECT_NE(HashPassword("s3cret&amp;", kMinimumHashIterations), stored);
}

TEST(PasswordHash, MalformedStoredTextsVerifyNothing) {
  for (const char* stored :
       {"", "plain", "pbkdf2-sha256$1$c2FsdA==", "pbkdf2-sha1$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=",
        "pbkdf2-sha256$0$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=",
        "pbkdf2-sha256$x$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=",
        "pbkdf2-sha256$99999999999$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=",
        "pbkdf2-sha256$1$c2F!dA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=", "pbkdf2-sha256$1$c2FsdA==$VawE",
        // Unused low bits set: the same bytes, but not the text a hash is stored as.
        "pbkdf2-sha256$1$c2FsdB==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=",
        "pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLx="})
    EXPECT_FALSE(VerifyPassword("passwd", stored)) << stored;
  EXPECT_TRUE(VerifyPassword("passwd", "pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw="));
}

// Each piece of work is asked for once, done outside, then answered.
TEST(PasswordWork, AsksForEachHashOnceAndThenAnswersIt) {
  PasswordWork work(kMinimumHashIterations);
  const std::string stored = HashPassword("a &amp; b", kMinimumHashIterations);
  for (const char* password : {"a &amp; b", "a & b"}) {
    try {
      work.Verify(password, stored);
      ADD_FAILURE() << "no work asked for " << password;
    } catch (const HashingNeeded& needed) {
      work.Do(needed);
    }
  }
  EXPECT_TRUE(work.Verify("a &amp; b", stored));
  EXPECT_FALSE(work.Verify("a & b", stored));
  EXPECT_FALSE(work.Verify("a &amp; b", ""));  // no password: nothing to hash
  EXPECT_THROW(work.Hash("new one"), HashingNeeded);
  work.Do(HashingNeeded{"new one", std::nullopt});
  const std::string hash = work.Hash("new one");
  EXPECT_EQ(work.Hash("new one"), hash);
  EXPECT_TRUE(VerifyPassword("new one", hash));
}

}  // namespace
}  // namespace velinst::service
