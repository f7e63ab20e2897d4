// The host parser's own side: its limits, and narrow text as UTF-8.
#include <gtest/gtest.h>
#include <libxml/parserInternals.h>

#include <string>
#include <thread>
#include <vector>

#include "../xml_test_support.h"
#include "xml/dom.h"

namespace velinst::test {
namespace {

using HostDom = XmlTest;

std::string Repeated(const std::string& unit, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

std::string EntityDocument(int entityLength, int references) {
  return "<!DOCTYPE r [<!ENTITY b '" + std::string(static_cast<std::size_t>(entityLength), 'y') + "'>]><r>" +
         Repeated("&b;", references) + "</r>";
}

// The process's own loader, as an installer might set it: the library must
// neither replace it nor reach it.
int gLoaderCalls = 0;
xmlParserInputPtr CountingLoader(const char*, const char*, xmlParserCtxtPtr) {
  ++gLoaderCalls;
  return nullptr;
}

TEST_F(HostDom, ProcessWideEntityLoaderIsLeftAloneAndNeverReached) {
  const xmlExternalEntityLoader previous = xmlGetExternalEntityLoader();
  xmlSetExternalEntityLoader(CountingLoader);
  gLoaderCalls = 0;
  TempDir dir;
  WriteWholeFile(dir.File("defs.ent"), "<!ENTITY x 'SECRET'>");
  const std::string url = "file://" + dir.File("defs.ent");
  for (const std::string& text :
       {"<!DOCTYPE r [<!ENTITY % p SYSTEM '" + url + "'> %p;]><r>1 2</r>",
        "<!DOCTYPE r [<!ENTITY x SYSTEM '" + url + "'>]><r>1&x;2</r>", "<!DOCTYPE r SYSTEM '" + url + "'><r>1 2</r>"}) {
    CXMLDocument fresh;
    fresh.LoadText(text.c_str());
    EXPECT_EQ(fresh.GetRoot()->Text().find("SECRET"), std::string::npos) << text;
  }
  EXPECT_EQ(xmlGetExternalEntityLoader(), CountingLoader);
  EXPECT_EQ(gLoaderCalls, 0);
  xmlSetExternalEntityLoader(previous);
}

// Documents of their own on several threads at once.
TEST(HostDomThreads, DocumentsLoadOnSeveralThreadsAtOnce) {
  std::vector<std::thread> threads;
  std::vector<std::string> texts(8);
  for (std::size_t i = 0; i < texts.size(); ++i)
    threads.emplace_back([i, &texts] {
      for (int round = 0; round < 50; ++round) {
        CXMLDocument document;
        const std::string text = "<r n='" + std::to_string(i) + "'>&lt;" + std::to_string(round) + "&gt;</r>";
        document.LoadText(text.c_str());
        texts[i] = document.GetRoot()->Text();
      }
    });
  for (std::thread& thread : threads) thread.join();
  for (const std::string& text : texts) EXPECT_EQ(text, "<49>");
}

TEST_F(HostDom, EntityExpansionIsBounded) {
  EXPECT_EQ(Load(EntityDocument(1000, 10)).Text().size(), 10000u);
  // 5 MB of text from 16 kB of document: past the bound.
  const std::string large = EntityDocument(1000, 5000);
  EXPECT_EQ(Raised([&] { document_.LoadText(large.c_str()); }), "Parsing error loading file (2)");
  EXPECT_EQ(document_.ParseErrorReason(), "Entity references expand to more text than allowed.");
}

TEST_F(HostDom, EntityExpansionInAttributeValuesIsBounded) {
  // Many references to one large entity, each within bounds, together not.
  std::string wide = "<!DOCTYPE r [<!ENTITY b '" + std::string(10000, 'y') + "'>]><r a='";
  for (int i = 0; i < 1000; ++i) wide += "&b;";
  wide += "'/>";
  EXPECT_EQ(Raised([&] { document_.LoadText(wide.c_str()); }), "Parsing error loading file (2)");
  EXPECT_EQ(document_.ParseErrorReason(), "Entity references expand to more text than allowed.");
}

// The Windows parser refuses a prefix without its declaration; so does the
// host's.
TEST_F(HostDom, UndeclaredNamespacePrefixIsRefused) {
  for (const char* text : {"<r><p:a/></r>", "<r p:x='1'/>", "<p:r xmlns:q='urn:q'/>"})
    EXPECT_EQ(Raised([&] { document_.LoadText(text); }), "Parsing error loading file (2)") << text;
  EXPECT_EQ(Load("<r xmlns:p='urn:p'><p:a p:x='1'>t</p:a></r>").Text(), "t");
}

TEST_F(HostDom, NestedEntitiesCountInFull) {
  // Each reference to l2 is 100 times the 1000 characters of l0.
  const std::string text = "<!DOCTYPE r [<!ENTITY l0 '" + std::string(1000, 'y') + "'><!ENTITY l1 '" +
                           Repeated("&l0;", 10) + "'><!ENTITY l2 '" + Repeated("&l1;", 10) + "'>]><r>" +
                           Repeated("&l2;", 20) + "</r>";
  EXPECT_EQ(Raised([&] { document_.LoadText(text.c_str()); }), "Parsing error loading file (2)");
}

TEST_F(HostDom, OversizedDocumentIsNotRead) {
  const std::string text =
      "<r>" + std::string(static_cast<std::size_t>(dom::kMaxDocumentKiloChars) * 1024, 'x') + "</r>";
  EXPECT_EQ(Raised([&] { document_.LoadText(text.c_str()); }), "Parsing error loading file (2)");
  EXPECT_EQ(document_.ParseErrorReason(), "The document is larger than allowed.");
}

TEST_F(HostDom, NarrowTextIsUtf8) {
  EXPECT_EQ(Load("<a>&#xE9;&#x4E2D;</a>").Text(), "\xC3\xA9\xE4\xB8\xAD");
  // Text handed over in memory is UTF-8 whatever it declares.
  EXPECT_EQ(Load("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>").Text(), "\xC3\xA9");
}

TEST_F(HostDom, FileKeepsItsDeclaredEncoding) {
  TempDir dir;
  WriteWholeFile(dir.File("latin1.xml"), "<?xml version='1.0' encoding='ISO-8859-1'?><a>\xE9</a>");
  document_.LoadFile(dir.File("latin1.xml").c_str());
  EXPECT_EQ(document_.GetRoot()->Text(), "\xC3\xA9");
}

TEST_F(HostDom, ProhibitedDtdRefusesTheDocument) {
  dom::Ref<dom::DocumentObject> document;
  ASSERT_EQ(dom::CreateDocument(document), dom::kOk);
  ASSERT_EQ(dom::SetProhibitDtd(document.get(), true), dom::kOk);
  dom::Ref<dom::TextObject> text;
  ASSERT_EQ(dom::MakeText("<!DOCTYPE r><r/>", text), dom::kOk);
  bool parsed = true;
  ASSERT_EQ(dom::LoadXml(document.get(), text.get(), parsed), dom::kOk);
  EXPECT_FALSE(parsed);
  dom::Ref<dom::ParseErrorObject> error;
  ASSERT_EQ(dom::GetParseError(document.get(), error), dom::kOk);
  std::string reason;
  dom::ErrorReason(error.get(), reason);
  EXPECT_EQ(reason, "DTD is prohibited.");
}

}  // namespace
}  // namespace velinst::test
