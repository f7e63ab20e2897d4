// Loading, its messages, XPath queries and namespace registration.
#include "xml/document.h"

#include <gtest/gtest.h>

#include <string>

#include "xml_test_support.h"

namespace velinst::test {
namespace {

using Document = XmlTest;

TEST_F(Document, FileErrorsLastUntilTheNextLoad) {
  TempDir dir;
  EXPECT_EQ(Raised([&] { document_.LoadFile(dir.File("absent.xml").c_str()); }), "Parsing error loading file (1)");
  WriteWholeFile(dir.File("broken.xml"), "<a><b></a>");
  EXPECT_EQ(Raised([&] { document_.LoadFile(dir.File("broken.xml").c_str()); }), "Parsing error loading file (1)");
  EXPECT_NE(document_.ParseErrorCode(), 0);
  EXPECT_FALSE(document_.ParseErrorReason().empty());

  WriteWholeFile(dir.File("answer.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rsp status=\"ok\">\n</rsp>\n");
  document_.LoadFile(dir.File("answer.xml").c_str());
  EXPECT_EQ(document_.GetRoot()->Name() + std::to_string(document_.ParseErrorCode()), "rsp0");
  const char* text = nullptr;
  EXPECT_FALSE(document_.GetText(text)) << "a load clears the error text";
}

TEST_F(Document, TextThatIsNotXmlRaisesThePointerToTheDocumentsError) {
  for (const char* text : {"", "plain text", "<a></b>", "<a/><b/>", "<a x='1' x='2'/>", "<a>&undefined;</a>"}) {
    try {
      document_.LoadText(text);
      ADD_FAILURE() << "no error raised: " << text;
    } catch (CLastErr* error) {
      EXPECT_EQ(error, static_cast<CLastErr*>(&document_));
      EXPECT_EQ(Message(*error), "Parsing error loading file (2)") << text;
    }
  }
}

TEST_F(Document, RootFollowsTheLoadedDocument) {
  CXMLNodeCursor* root = document_.GetRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_FALSE(root->Next());
  EXPECT_EQ(Message(document_), "Failed to find root node");
  EXPECT_EQ(Load("<first><x/></first>").Name(), "first");
  EXPECT_EQ(Load("<second/>").Name(), "second");
  EXPECT_EQ(document_.GetRoot()->ChildCursor(), nullptr);
  document_.ReleaseDocument();
  EXPECT_EQ(document_.GetRoot()->Name(), "");
  EXPECT_EQ(document_.SelectNodes("//second"), nullptr);
}

TEST_F(Document, SelectNodesIteratesTheResult) {
  Load("<r x='1'><a>1</a><b><a>2</a></b><a>3</a>t</r>");
  CXMLNodeCursor* found = document_.SelectNodes("//a");
  ASSERT_NE(found, nullptr);
  std::string texts = std::to_string(found->Length()) + found->Text();
  while (found->Next()) texts += found->Text();
  EXPECT_EQ(texts, "3123");
  // GetRoot returns the same cursor to tree mode, with no list left over.
  CXMLNodeCursor* root = document_.GetRoot();
  EXPECT_EQ(root, found);
  std::string seen = std::to_string(root->Length()) + root->Name();
  EXPECT_EQ(seen + (root->Next() ? root->Name() : "-"), "0ra");
  found = document_.SelectNodes("//@x | //r/text()");
  ASSERT_NE(found, nullptr);
  seen = std::to_string(found->Length()) + found->Name();
  EXPECT_EQ(seen + (found->Next() ? found->Name() : "-"), "2x#text");
}

TEST_F(Document, QueriesMatchingNothingOrFailing) {
  Load("<r><p:a xmlns:p='urn:p'/></r>");
  CXMLNodeCursor* found = document_.SelectNodes("//nothing");
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->Length() == 0 && !found->Next());
  for (const char* query : {"//q:a", "//[", "count(//a)"}) {
    EXPECT_EQ(document_.SelectNodes(query), nullptr) << query;
    EXPECT_EQ(Message(document_), "Cannot locate file section (1)") << query;
  }
}

TEST_F(Document, PrefixesComeFromSelectionNamespaces) {
  CXMLDocument empty;  // a declaration that could not be set stays in its list
  EXPECT_EQ(Raised([&] { empty.AddSelectionNamespace("p", "urn:p"); }), "Cannot parse file");
  EXPECT_EQ(Raised([&] { empty.SetProhibitDTD(1); }), "Cannot set ProhibitDTD Property");
  Load("<r><p:a xmlns:p='urn:p'>1</p:a><a>2</a><z:a xmlns:z='urn:z'>3</z:a></r>");
  EXPECT_EQ(Raised([&] { document_.SetProhibitDTD(1); }), "(nothing)");
  document_.AddSelectionNamespace("q", "urn:p");
  document_.AddSelectionNamespace("y", "urn:z");
  EXPECT_EQ(document_.SelectionNamespaces(), " xmlns:q=\"urn:p\" xmlns:y=\"urn:z\"");
  for (const auto& [query, text] : {std::pair{"//q:a", "1"}, std::pair{"//a", "2"}, std::pair{"//y:a", "3"}}) {
    CXMLNodeCursor* found = document_.SelectNodes(query);
    ASSERT_NE(found, nullptr) << query;
    EXPECT_EQ(std::to_string(found->Length()) + found->Text(), std::string("1") + text) << query;
  }
  // Registering finds declarations anywhere, and puts the document cursor back.
  Load("<r xmlns:a='urn:a'><x><y xmlns:b='urn:b'><b:z/></y></x><w xmlns='urn:default'/></r>");
  CXMLNodeCursor* root = document_.GetRoot();
  ASSERT_TRUE(root->Next());
  document_.RegisterNamespaces();
  EXPECT_EQ(document_.SelectionNamespaces(),
            " xmlns:q=\"urn:p\" xmlns:y=\"urn:z\" xmlns:a=\"urn:a\" xmlns:b=\"urn:b\"");
  EXPECT_EQ(document_.GetRoot(), root);
  ASSERT_NE(document_.SelectNodes("//b:z"), nullptr);
  EXPECT_EQ(document_.SelectNodes("//b:z")->Length(), 1);
}

}  // namespace
}  // namespace velinst::test
