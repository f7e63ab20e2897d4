// The Windows parser's own side: narrow text in the ANSI code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../xml_test_support.h"

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

}  // namespace
}  // namespace velinst::test
