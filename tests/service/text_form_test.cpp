#include "text_form.h"
#include "query_parameters.h"

#include <gtest/gtest.h>

namespace velinst::service {
namespace {

TEST(TextForm, XmlCharactersReplacesWhatXmlCannotHold) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD, the replacement character
  const std::pair<std::string, std::string> cases[] = {
      {"plain\ttext\r\n", "plain\ttext\r\n"},
      {std::string("a\0b", 3), "a" + r + "b"},
      {std::string("a\x01") + "b", "a" + r + "b"},
      {"\xC3\xA9", "\xC3\xA9"},
      {"\xE9", r},                  // not UTF-8
      {"\xC0\xAF", r + r},          // overlong
      {"\xED\xA0\x80", r + r + r},  // surrogate
      {"\xEF\xBF\xBE", r},          // U+FFFE
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(XmlCharacters(in), out);
}

TEST(TextForm, ClippedTextKeepsSequencesAndEntitiesWhole) {
  EXPECT_EQ(ClippedText("abcdef", 10), "abcdef");
  EXPECT_EQ(ClippedText("abcdef", 3), "abc");
  EXPECT_EQ(ClippedText(std::string("ab\xC3\xA9") + "cd", 3), "ab");
  EXPECT_EQ(ClippedText("ab&amp;cd", 5), "ab");
  EXPECT_EQ(ClippedText("ab&amp;cd", 7), "ab&amp;");
}

// Values are percent-decoded (foreign bytes taken as Windows ANSI become
// UTF-8), "+" stays, entity references continue their value, odd pieces are
// tolerated, and names match in any case.
TEST(QueryParameters, ReadsPairsAsClientsSendThem) {
  struct Case {
    const char* query;
    const char* name;
    const char* value;  // null: absent
  } cases[] = {
      {"method=Account.Login&q=a%20b%2Fc", "q", "a b/c"},
      {"method=Account.Login&q=a%20b%2Fc", "METHOD", "Account.Login"},
      {"q=1", "missing", nullptr},
      {"ab=1", "a", nullptr},
      {"mail=a+b@x.org", "mail", "a+b@x.org"},
      {"n=Jos%e9%80", "n", "Jos\xC3\xA9\xE2\x82\xAC"},  // 0xE9 is "é", 0x80 the euro sign
      {"n=Jos%c3%a9", "n", "Jos\xC3\xA9"},
      {"displayName=Tom&amp;Jerry&x=1", "displayName", "Tom&amp;Jerry"},
      {"displayName=Tom&amp;Jerry&x=1", "x", "1"},
      {"n=&lt;b&gt;&x=1", "n", "&lt;b&gt;"},
      {"n=say &quot;hi&quot;", "n", "say &quot;hi&quot;"},
      {"n=a&#38;b&#x26;c", "n", "a&#38;b&#x26;c"},
      {"n=a&apos;b", "n", "a&apos;b"},
      {"&&flag&=lost&a=%zz%4&b=%41", "flag", ""},
      {"&&flag&=lost&a=%zz%4&b=%41", "a", "%zz%4"},
      {"&&flag&=lost&a=%zz%4&b=%41", "b", "A"},
  };
  for (const Case& c : cases) {
    const QueryParameters parameters = QueryParameters::FromQuery(c.query);
    const std::string* value = parameters.Find(c.name);
    EXPECT_EQ(value ? value->c_str() : "<absent>", std::string(c.value ? c.value : "<absent>")) << c.query;
  }
  EXPECT_EQ(QueryParameters::FromQuery("&&flag&=lost&a=%zz%4&b=%41").Size(), 3u);
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
