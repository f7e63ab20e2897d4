// The Windows parser's own side: its limits, and narrow text in the ANSI
// code page.
#include <windows.h>

#include <msxml2.h>

#include <gtest/gtest.h>

#include <string>

#include "../xml_test_support.h"
#include "xml/dom.h"
#include "xml/win32/com_objects.h"

namespace velinst::test {
namespace {

using WindowsDom = XmlTest;

TEST_F(WindowsDom, TextIsInTheAnsiCodePageAndMarkupInUtf8) {
  CXMLNodeCursor& root = Load("<a>&#x4E2D;</a>");
  char expected[8] = {};
  ::WideCharToMultiByte(CP_ACP, 0, L"\x4E2D", 1, expected, sizeof expected - 1, nullptr, nullptr);
  EXPECT_EQ(root.Text(), expected);
  EXPECT_EQ(root.Xml(), "<a>\xE4\xB8\xAD</a>");
}

TEST_F(WindowsDom, LimitsAreSetWhereTheParserKeepsThem) {
  dom::Ref<dom::DocumentObject> document;
  ASSERT_EQ(dom::CreateDocument(document), dom::kOk);
  VARIANT depth;
  ::VariantInit(&depth);
  dom::com::UniqueBstr name(L"MaxElementDepth");
  if (FAILED(dom::com::Of(document.get())->getProperty(name.get(), &depth)))
    GTEST_SKIP() << "this parser has no MaxElementDepth property (Wine); its own depth limit applies";
  EXPECT_EQ(depth.vt, VT_I4);
  EXPECT_EQ(depth.lVal, dom::kMaxElementDepth);
}

}  // namespace
}  // namespace velinst::test
