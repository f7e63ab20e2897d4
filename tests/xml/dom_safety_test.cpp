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
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<e>";
  text += "x";
  for (int i = 0; i < depth; ++i) text += "</e>";
  return text;
}

std::string FileUrl(const std::string& path) {
  std::string url = "file:///";
  for (const char c : path) url += c == '\\' ? '/' : c;
  if (url.compare(0, 9, "file:////") == 0) url.erase(7, 1);
  return url;
}

TEST_F(DomSafety, HarmlessDoctypeLoads) {
  EXPECT_EQ(Load("<!DOCTYPE r [<!ENTITY e 'ent'><!ELEMENT r (#PCDATA)>]><r>x&e;y</r>").Text(), "xenty");
  EXPECT_EQ(Load("<!DOCTYPE r><r>plain</r>").Text(), "plain");
}

TEST_F(DomSafety, BillionLaughsIsRefused) {
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 'lol'>";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "'>";
  }
  laughs += "]><r>&l9;</r>";
  EXPECT_EQ(Raised([&] { document_.LoadText(laughs.c_str()); }), "Parsing error loading file (2)");
}

TEST_F(DomSafety, EntityThatRefersToItselfIsRefused) {
  EXPECT_EQ(Raised([&] { document_.LoadText("<!DOCTYPE r [<!ENTITY a '&b;'><!ENTITY b '&a;'>]><r>&a;</r>"); }),
            "Parsing error loading file (2)");
}

TEST_F(DomSafety, DeepNestingIsRefused) {
  EXPECT_EQ(Load(Nested(dom::kMaxElementDepth)).Text(), "x");
  EXPECT_EQ(Raised([&] { document_.LoadText(Nested(dom::kMaxElementDepth + 50).c_str()); }),
            "Parsing error loading file (2)");
  EXPECT_EQ(Raised([&] { document_.LoadText(Nested(100000).c_str()); }), "Parsing error loading file (2)");
}

TEST_F(DomSafety, ExternalEntityIsNotFetched) {
  TempDir dir;
  WriteWholeFile(dir.File("secret.txt"), "SECRET");
  const std::string text = "<!DOCTYPE r [<!ENTITY x SYSTEM '" + FileUrl(dir.File("secret.txt")) + "'>]><r>1&x;2</r>";
  std::string loaded = "(not loaded)";
  try {
    loaded = Load(text).Text();
  } catch (CLastErr*) {
  }
  EXPECT_EQ(loaded, "12");
}

// Read, the definitions would break the document: it loads only unread.
TEST_F(DomSafety, ExternalParameterEntityIsNotFetched) {
  TempDir dir;
  WriteWholeFile(dir.File("defs.ent"), "<!ENTITY x 'SECRET'> <!BROKEN");
  const std::string text =
      "<!DOCTYPE r [<!ENTITY % p SYSTEM '" + FileUrl(dir.File("defs.ent")) + "'> %p;]><r a='&#34;'>1 2</r>";
  EXPECT_EQ(Load(text).Text(), "1 2");
}

TEST_F(DomSafety, EntityBombInAnAttributeValueIsRefused) {
  std::string laughs = "<!DOCTYPE r [<!ENTITY l0 'lol'>";
  for (int i = 1; i <= 9; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " '";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "'>";
  }
  const std::string bomb = laughs + "]><r a='&l9;'/>";
  EXPECT_EQ(Raised([&] { document_.LoadText(bomb.c_str()); }), "Parsing error loading file (2)");
  std::string thirtyLaughs;
  for (int i = 0; i < 10; ++i) thirtyLaughs += "lol";
  EXPECT_EQ(AttributesOf(Load(laughs + "]><r a='&l1;&amp;'/>"))["a"], thirtyLaughs + "&");
}

TEST_F(DomSafety, ExternalDtdIsNotFetched) {
  TempDir dir;
  WriteWholeFile(dir.File("outside.dtd"), "<!ENTITY x 'SECRET'>");
  const std::string text = "<!DOCTYPE r SYSTEM '" + FileUrl(dir.File("outside.dtd")) + "'><r>1&x;2</r>";
  WriteWholeFile(dir.File("answer.xml"), text);
  std::string loaded;
  try {
    document_.LoadFile(dir.File("answer.xml").c_str());
    loaded = document_.GetRoot()->Text();
  } catch (CLastErr*) {
  }
  EXPECT_EQ(loaded.find("SECRET"), std::string::npos) << loaded;
}

TEST_F(DomSafety, NetworkDtdIsNotFetched) {
  // Port 9 (discard) on the loopback: a fetch would fail or hang, never load.
  EXPECT_EQ(Load("<!DOCTYPE r SYSTEM 'http://127.0.0.1:9/x.dtd'><r>ok</r>").Text(), "ok");
}

}  // namespace
}  // namespace velinst::test
