#include "query_parameters.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(QueryParameters, ReadsPairsPercentDecodedAndKeepsPlus) {
  const QueryParameters parameters = QueryParameters::FromQuery("method=Account.Login&q=a%20b%2Fc&mail=a+b@x.org");
  ASSERT_NE(parameters.Find("q"), nullptr);
  EXPECT_EQ(*parameters.Find("q"), "a b/c");
  EXPECT_EQ(*parameters.Find("mail"), "a+b@x.org");
  EXPECT_EQ(*parameters.Find("METHOD"), "Account.Login");
  EXPECT_EQ(parameters.Find("missing"), nullptr);
}

TEST(QueryParameters, EntityReferencesContinueTheirValue) {
  struct Case {
    const char* query;
    const char* name;
    const char* value;
  } cases[] = {
      {"displayName=Tom&amp;Jerry&x=1", "displayName", "Tom&amp;Jerry"},
      {"n=&lt;b&gt;&x=1", "n", "&lt;b&gt;"},
      {"n=say &quot;hi&quot;", "n", "say &quot;hi&quot;"},
      {"n=a&#38;b&#x26;c", "n", "a&#38;b&#x26;c"},
      {"n=a&apos;b", "n", "a&apos;b"},
  };
  for (const Case& c : cases) {
    const QueryParameters parameters = QueryParameters::FromQuery(c.query);
    ASSERT_NE(parameters.Find(c.name), nullptr) << c.query;
    EXPECT_EQ(*parameters.Find(c.name), c.value) << c.query;
  }
  EXPECT_EQ(*QueryParameters::FromQuery("displayName=Tom&amp;Jerry&x=1").Find("x"), "1");
}

TEST(QueryParameters, OddPiecesAreTolerated) {
  const QueryParameters parameters = QueryParameters::FromQuery("&&flag&=lost&a=%zz%4&b=%41");
  EXPECT_EQ(*parameters.Find("flag"), "");
  EXPECT_EQ(*parameters.Find("a"), "%zz%4");
  EXPECT_EQ(*parameters.Find("b"), "A");
  EXPECT_EQ(parameters.Size(), 3u);
}

TEST(QueryParameters, ForeignBytesBecomeUtf8) {
  // 0xE9 is "é" and 0x80 the euro sign in the Windows ANSI code page.
  EXPECT_EQ(*QueryParameters::FromQuery("n=Jos%e9%80").Find("n"), "Jos\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(*QueryParameters::FromQuery("n=Jos%c3%a9").Find("n"), "Jos\xC3\xA9");
}

TEST(QueryParameters, MergeReplacesAndAdds) {
  QueryParameters parameters = QueryParameters::FromQuery("method=m&a=1&encryptedData=x");
  parameters.Merge(QueryParameters::FromQuery("&A=2&b=3"));
  EXPECT_EQ(*parameters.Find("a"), "2");
  EXPECT_EQ(*parameters.Find("b"), "3");
  EXPECT_EQ(*parameters.Find("method"), "m");
}

}  // namespace
}  // namespace velinst::service
