// Answers come from the network: whatever they hold, loading fetches
// nothing, expands entities only so far, nests only so deep, and still
// accepts a harmless document type declaration.
#include <gtest/gtest.h>

#include <string>

#include "xml/dom.h"
#include "xml_test_support.h"

namespace velinst::test {
namespace {

using DomSafety = XmlTest;

std::string Nested(int depth) {
  std::string open, close;
  for (int i = 0; i < depth; ++i) open += "<e>", close += "</e>";
  return open + "x" + close;
}

std::string FileUrl(const std::string& path) {
  std::string url = "file:///";
  for (const char c : path) url += c == '\\' ? '/' : c;
  if (url.compare(0, 9, "file:////") == 0) url.erase(7, 1);
  return url;
}

// Entities l1..l9, each ten of the one before; l0 is "lol".
const std::string kLaughs = [] {
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 'lol'>";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "'>";
  }
  return laughs + "]>";
}();

TEST_F(DomSafety, HarmlessDocumentsLoad) {
  EXPECT_EQ(Load("<!DOCTYPE r [<!ENTITY e 'ent'><!ELEMENT r (#PCDATA)>]><r>x&e;y</r>").Text(), "xenty");
  EXPECT_EQ(Load("<!DOCTYPE r><r>plain</r>").Text(), "plain");
  EXPECT_EQ(Load(Nested(dom::kMaxElementDepth)).Text(), "x");
  std::string thirtyLaughs;
  for (int i = 0; i < 10; ++i) thirtyLaughs += "lol";
  EXPECT_EQ(AttributesOf(Load(kLaughs + "<r a='&l1;&amp;'/>"))["a"], thirtyLaughs + "&");
}

TEST_F(DomSafety, BombsAndDeepNestingAreRefused) {
  for (const std::string& text : {kLaughs + "<r>&l9;</r>", kLaughs + "<r a='&l9;'/>",
                                  std::string("<!DOCTYPE r [<!ENTITY a '&b;'><!ENTITY b '&a;'>]><r>&a;</r>"),
                                  Nested(dom::kMaxElementDepth + 50), Nested(100000)})
    EXPECT_EQ(Raised([&] { document_.LoadText(text.c_str()); }), "Parsing error loading file (2)")
        << text.substr(0, 60);
}

TEST_F(DomSafety, ExternalDefinitionsAreNotFetched) {
  TempDir dir;
  WriteWholeFile(dir.File("secret.txt"), "SECRET");
  // Read, these definitions would break the document: it loads only unread.
  WriteWholeFile(dir.File("defs.ent"), "<!ENTITY x 'SECRET'> <!BROKEN");
  WriteWholeFile(dir.File("outside.dtd"), "<!ENTITY x 'SECRET'>");
  struct Case {
    std::string xml;
    bool fromFile;
    const char* text;  // or null when the parser may refuse the document
  };
  const Case cases[] = {
      {"<!DOCTYPE r [<!ENTITY x SYSTEM '" + FileUrl(dir.File("secret.txt")) + "'>]><r>1&x;2</r>", false, "12"},
      {"<!DOCTYPE r [<!ENTITY % p SYSTEM '" + FileUrl(dir.File("defs.ent")) + "'> %p;]><r a='&#34;'>1 2</r>", false,
       "1 2"},
      {"<!DOCTYPE r SYSTEM '" + FileUrl(dir.File("outside.dtd")) + "'><r>1&x;2</r>", true, nullptr},
      // Port 9 (discard) on the loopback: a fetch would fail or hang, never load.
      {"<!DOCTYPE r SYSTEM 'http://127.0.0.1:9/x.dtd'><r>ok</r>", false, "ok"},
  };
  for (const Case& c : cases) {
    std::string loaded = "(not loaded)";
    try {
      WriteWholeFile(dir.File("answer.xml"), c.xml);
      c.fromFile ? document_.LoadFile(dir.File("answer.xml").c_str()) : document_.LoadText(c.xml.c_str());
      loaded = document_.GetRoot()->Text();
    } catch (CLastErr*) {
    }
    EXPECT_EQ(loaded.find("SECRET"), std::string::npos) << c.xml;
    EXPECT_EQ(loaded, c.text != nullptr ? c.text : loaded) << c.xml;
  }
}

}  // namespace
}  // namespace velinst::test
