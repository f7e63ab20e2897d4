#include "installer/autoplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velinst {
namespace {

TEST(Autoplay, AcceptsOnlyRootsOfPresentDrives) {
  const std::uint32_t present = 1u << 2 | 1u << 4;  // C: and E:
  struct Case {
    const wchar_t* root;
    bool acceptable;
  } cases[] = {{L"e:\\", true},  {L"E:", false},    {L"D:\\", false},   {L"", false},
               {L"[:\\", false}, {L"E:\\x", false}, {L"E:\\x\\", true}, {L"\u00c4:\\", false}};
  for (const Case& c : cases) EXPECT_EQ(IsAcceptableDriveRoot(c.root, present), c.acceptable) << c.root;
  EXPECT_TRUE(IsAcceptableDriveRoot(L"Z:\\", 1u << 25) && IsAcceptableDriveRoot(L"a:\\", 1));
}

TEST(Autoplay, CancelsOnlyMaskedContentOnItsOwnDriveWhileSuppressing) {
  struct Case {
    bool suppressing;
    const wchar_t* event;
    std::uint32_t content;
    bool cancels;
  } cases[] = {
      {true, L"E:\\", 0x4, true},     // audio CD
      {true, L"e:\\", 0x4, true},     // the shell's letter case does not matter
      {true, L"F:\\", 0x4, false},    // another drive
      {true, L"E:\\", 0x200, false},  // film files are let through
      {true, L"E:\\", 0x202, true},  {true, L"E:\\", 0x1, false},
      {true, L"E:", 0x4, false},     {false, L"E:\\", 0x4, false}  // after the stop
  };
  for (const Case& c : cases)
    EXPECT_EQ(CancelsAutoplay(c.suppressing, L"E:\\", c.event, c.content, kAutoplayContentMask), c.cancels)
        << c.event << " " << c.content;
}

TEST(Autoplay, EmptyRootTakesTheFirstDriveThatCanBeTaken) {
  std::vector<std::wstring> asked;
  const auto cdDrives = [&](std::wstring_view root) {
    asked.emplace_back(root);
    return root == L"D:\\" || root == L"E:\\";
  };
  EXPECT_TRUE(TakeDrive(L"", cdDrives));
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"A:\\", L"B:\\", L"C:\\", L"D:\\"}));

  asked.clear();
  EXPECT_FALSE(TakeDrive(L"", [&](std::wstring_view root) { return asked.emplace_back(root).empty(); }));
  EXPECT_EQ(asked.size() * 100 + asked.back()[0], 26u * 100 + 'Z');
}

}  // namespace
}  // namespace velinst
