// Cursor moves, names, texts and markup. The same expectations hold for the
// Windows parser and for the host's, which imitates it.
#include "xml/node_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml_test_support.h"

namespace velinst::test {
namespace {

using NodeCursor = XmlTest;
using Move = bool (CXMLNodeCursor::*)();

// The names the cursor stands on after each move, "-" for a failed one.
std::string Trail(CXMLNodeCursor& cursor, std::initializer_list<Move> moves) {
  std::string trail;
  for (const Move move : moves) trail += ((cursor.*move)() ? cursor.Name() : "-") + " ";
  return trail;
}

// Names met by tree-mode Next from the cursor's position.
std::string Walk(CXMLNodeCursor& cursor) {
  std::string names;
  while (cursor.Next()) names += cursor.Name() + " ";
  return names;
}

// White space between elements is no node, whatever the line ends.
TEST_F(NodeCursor, IndentedAnswerWalksLikeCompactOne) {
  EXPECT_EQ(Walk(Load("<rsp status=\"ok\">\n  <a x=\"1\">one</a>\n\t<b/>\r\n</rsp>\n")), "a #text b ");
}

TEST_F(NodeCursor, MovesThroughTheTree) {
  CXMLNodeCursor& root = Load("<r><a><b/><c>t</c></a><d/></r>");
  EXPECT_EQ(Walk(root), "a b c #text d ");
  EXPECT_EQ(root.Name(), "d") << "the walk ends where it stood";
  ASSERT_TRUE(root.Reset());
  CXMLNodeCursor* child = root.ChildCursor();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(Walk(*child), "b c #text d ") << "past the end of the anchor's subtree";
  ASSERT_TRUE(child->Reset());
  using C = CXMLNodeCursor;
  EXPECT_EQ(Trail(*child, {&C::NextSibling, &C::FirstChild, &C::PreviousSibling, &C::FirstChild, &C::PreviousSibling,
                           &C::NextSibling, &C::FirstChild, &C::FirstChild, &C::Parent, &C::Parent, &C::Parent,
                           &C::Parent, &C::Parent}),
            "d - a b - c #text - c a r #document - ");
}

TEST_F(NodeCursor, ChildCursorOnTextOnlyElementStandsOnTheText) {
  CXMLNodeCursor* child = Load("<r><a>  text  </a><b/></r>").ChildCursor();
  ASSERT_NE(child, nullptr);
  CXMLNodeCursor* text = child->ChildCursor();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Name() + "=" + text->Text(), "#text=text");
  EXPECT_TRUE(text->ChildCursor() == nullptr && text->AttributeCursor() == nullptr);
  // On an element without children: null, and the earlier child cursor stays.
  ASSERT_TRUE(child->NextSibling());
  EXPECT_EQ(child->ChildCursor(), nullptr);
  EXPECT_EQ(text->Name(), "#text");
  CXMLNodeCursor empty;  // on no document: every move fails
  EXPECT_EQ(empty.Name() + empty.Xml() + Trail(empty, {&CXMLNodeCursor::Reset, &CXMLNodeCursor::Next}), "- - ");
}

TEST_F(NodeCursor, AttributeCursorVisitsEachAttributeOnce) {
  CXMLNodeCursor& root =
      Load("<r xmlns:p=\"urn:p\"><a/><p:b one=\"1\" p:two=\"  x  y  \" blank=\" \" xmlns:q=\"q\"/></r>");
  EXPECT_EQ(AttributesOf(root), (std::map<std::string, std::string>{{"xmlns:p", "urn:p"}}));
  CXMLNodeCursor* child = root.ChildCursor();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->AttributeCursor(), nullptr) << "no attributes";
  ASSERT_TRUE(child->NextSibling());
  CXMLAttributeCursor* attributes = child->AttributeCursor();
  ASSERT_NE(attributes, nullptr);
  EXPECT_EQ(attributes->Length(), 4);
  const std::string first = attributes->Name();
  EXPECT_EQ(AttributesOf(*child),
            (std::map<std::string, std::string>{{"one", "1"}, {"p:two", "  x  y  "}, {"blank", ""}, {"xmlns:q", "q"}}));
  EXPECT_FALSE(attributes->NextAttribute());
  ASSERT_TRUE(attributes->Reset());
  EXPECT_EQ(attributes->Name(), first);
}

TEST_F(NodeCursor, NamesOfOtherNodes) {
  CXMLNodeCursor& root = Load("<r><!--note--><![CDATA[<raw>]]><?target data?></r>");
  EXPECT_EQ(Walk(root), "#comment #cdata-section target ");
  ASSERT_TRUE(root.Reset());
  CXMLNodeCursor* child = root.ChildCursor();
  ASSERT_NE(child, nullptr);
  const std::string comment = child->Text();
  EXPECT_EQ(comment + (child->NextSibling() ? child->Text() : "-"), "note<raw>");
  EXPECT_EQ(Walk(Load("<r xml:space=\"preserve\">\n <b/> </r>")), "#text b #text ") << "preserved white space";
}

// The root element's text, white space normalised as the Windows parser does
// by default.
TEST_F(NodeCursor, TextIsNormalised) {
  const std::pair<const char*, const char*> cases[] = {
      {"<r>  hello   world  </r>", "hello   world"},
      {"<r>\r\n  line1\r\n  line2  \r\n</r>", "line1\n  line2"},
      {"<r> x <b> y </b> z </r>", "x  y  z"},
      {"<r><b>1</b><b>2</b></r>", "12"},
      {"<r><b>1</b>  <c>2</c>  <d> 3 </d></r>", "1 2  3"},
      {"<r>x<c>  </c>y</r>", "x y"},
      {"<r>y z  <a>  <a/> y z  <b/></a></r>", "y z   y z"},
      {"<r>x<!--c-->y</r>", "xy"},
      {"<r>&lt;&amp;&gt;&#32;</r>", "<&>"},
      {"<r>  <![CDATA[ c ]]>  </r>", " c "},
      {"<r><![CDATA[ c ]]>\n<b>x</b></r>", " c  x"},
      {"<r>a\n<![CDATA[ c ]]>\n</r>", "a\n c "},
      {"<r xml:space=\"preserve\"> <b> x </b> </r>", "  x  "},
      {"<r><b xml:space=\"preserve\"> x </b> y </r>", "x  y"},
      {"<r xml:space=\"preserve\"><b xml:space=\"default\"> x </b></r>", " x "},
  };
  for (const auto& [xml, text] : cases) EXPECT_EQ(Load(xml).Text(), text) << xml;
}

// Markup in UTF-8, indented with tabs where loading dropped white space.
TEST_F(NodeCursor, XmlIsTheNodesMarkup) {
  const std::pair<const char*, const char*> cases[] = {
      {"<a>\n  <b x='1'>  hello  </b>\n  <c/>\n</a>", "<a>\r\n\t<b x=\"1\">  hello  </b>\r\n\t<c/>\r\n</a>"},
      {"<a><b><c>1</c><c>2</c></b><b>3</b></a>",
       "<a>\r\n\t<b>\r\n\t\t<c>1</c>\r\n\t\t<c>2</c>\r\n\t</b>\r\n\t<b>3</b>\r\n</a>"},
      {"<a> x <b> y </b> z </a>", "<a> x <b> y </b> z </a>"},
      {"<a><b></b><!--c--></a>", "<a>\r\n\t<b/>\r\n\t<!--c-->\r\n</a>"},
      {"<a>x\n\ny<![CDATA[<]]></a>", "<a>x\r\n\r\ny<![CDATA[<]]></a>"},
      {"<a b='x\"y' c=\"x'y\" d='&lt;&gt;&amp;&#9;&#10;'>q\"'&gt;</a>",
       "<a b=\"x&quot;y\" c=\"x'y\" d=\"&lt;&gt;&amp;&#9;&#10;\">q\"'&gt;</a>"},
      {"<a xmlns:p='u'><p:b/></a>", "<a xmlns:p=\"u\">\r\n\t<p:b/>\r\n</a>"},
      {"<a>&#xE9;&#x4E2D;</a>", "<a>\xC3\xA9\xE4\xB8\xAD</a>"},
  };
  for (const auto& [xml, markup] : cases) EXPECT_EQ(Load(xml).Xml(), markup) << xml;

  CXMLNodeCursor* child = Load("<a xmlns:p='u'><p:b p:c='1&amp;2'><d/></p:b></a>").ChildCursor();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Xml(), "<p:b p:c=\"1&amp;2\">\r\n\t<d/>\r\n</p:b>");
  ASSERT_NE(child->AttributeCursor(), nullptr);
  EXPECT_EQ(child->AttributeCursor()->Xml(), "p:c=\"1&amp;2\"");
}

}  // namespace
}  // namespace velinst::test
