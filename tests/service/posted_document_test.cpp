#include "posted_document.h"

#include <gtest/gtest.h>

#include <string>

#include "service_error.h"

namespace velinst::service {
namespace {

// A sender's document type could define entities that read local files or
// expand without end: any document type is refused, as is a broken document.
TEST(PostedDocument, RefusesDocumentTypesAndBrokenDocuments) {
  const std::string refused[] = {
      "<?xml version=\"1.0\"?><!DOCTYPE A [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><A><N>&x;</N></A>",
      "<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><A>&b;</A>",
      "<A><N>x</A>",
      "",
      std::string("<A>\0</A>", 8),
  };
  for (const std::string& body : refused) EXPECT_THROW(ParsePostedDocument(body), ServiceError) << body;
}

TEST(PostedDocument, DecodesEscapesAndTakesUndeclaredBytesAsLatin1) {
  const struct {
    const char* body;
    const char* text;
  } cases[] = {{"<A>a &amp; &lt;b&gt; &quot;q&quot; 'r' %+#= Zo\xC3\xAB</A>", "a & <b> \"q\" 'r' %+#= Zo\xC3\xAB"},
               {"<A>M\xFCller &amp; S\xF6hne</A>", "M\xC3\xBCller & S\xC3\xB6hne"}};
  for (const auto& c : cases) {
    const XmlDocument document = ParsePostedDocument(c.body);
    EXPECT_EQ(NodeText(xmlDocGetRootElement(document.get())), c.text);
  }
}

}  // namespace
}  // namespace velinst::service
