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

TEST_F(HostDom, EntityExpansionAndDocumentSizeAreBounded) {
  EXPECT_EQ(Load(EntityDocument(1000, 10)).Text().size(), 10000u);
  const char* const tooMuch = "Entity references expand to more text than allowed.";
  const std::pair<std::string, const char*> cases[] = {
      {EntityDocument(1000, 5000), tooMuch},  // 5 MB of text from 16 kB of document
      // Many references to one large entity in an attribute, each within bounds, together not.
      {"<!DOCTYPE r [<!ENTITY b '" + std::string(10000, 'y') + "'>]><r a='" + Repeated("&b;", 1000) + "'/>", tooMuch},
      // Each reference to l2 is 100 times the 1000 characters of l0.
      {"<!DOCTYPE r [<!ENTITY l0 '" + std::string(1000, 'y') + "'><!ENTITY l1 '" + Repeated("&l0;", 10) +
           "'><!ENTITY l2 '" + Repeated("&l1;", 10) + "'>]><r>" + Repeated("&l2;", 20) + "</r>",
       nullptr},
      {"<r>" + std::string(static_cast<std::size_t>(dom::kMaxDocumentKiloChars) * 1024, 'x') + "</r>",
       "The document is larger than allowed."},
      // The Windows parser refuses a prefix without its declaration; so does the host's.
      {"<r><p:a/></r>", nullptr},
      {"<r p:x='1'/>", nullptr},
      {"<p:r xmlns:q='urn:q'/>", nullptr},
  };
  for (const auto& [text, reason] : cases) {
    EXPECT_EQ(Raised([&] { document_.LoadText(text.c_str()); }), "Parsing error loading file (2)") << text.size();
    const std::string given = document_.ParseErrorReason();
    EXPECT_EQ(given, reason != nullptr ? reason : given) << text.size();
  }
  EXPECT_EQ(Load("<r xmlns:p='urn:p'><p:a p:x='1'>t</p:a></r>").Text(), "t");
}

TEST_F(HostDom, NarrowTextIsUtf8) {
  // Text handed over in memory is UTF-8 whatever it declares; a file keeps its declared encoding.
  EXPECT_EQ(Load("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xC3\xA9</a>").Text(), "\xC3\xA9");
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
