#include <gtest/gtest.h>

#include <string>

#include "platform/cdos.h"
#include "velinst.h"

namespace {

// A letter this machine has no drive for, so the export is driven through
// its refusal without going near a real drive (the sequence itself is
// tested on fakes). Null when every letter from Q to Y is taken.
char UnusedDriveLetter() {
  for (char letter = 'Q'; letter <= 'Y'; ++letter)
    if (velinst::platform::SystemDrives().TypeOf(letter) == velinst::platform::DriveType::kNoRootDir) return letter;
  return 0;
}

// The export takes the first character of its text, in either case, as the
// drive letter.
TEST(Eject, DriveTextIsReadByItsFirstLetterInEitherCase) {
  const char letter = UnusedDriveLetter();
  if (letter == 0) GTEST_SKIP() << "every drive letter from Q to Y is in use";
  const std::string lower = std::string(1, static_cast<char>(letter | 0x20)) + ":\\";
  for (const std::string& drive : {std::string(1, letter), lower}) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(VEL_Eject(drive.c_str()), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Cannot eject.  Drive type is incorrect.\n") << drive;
  }
}

TEST(Eject, NoDriveTextTouchesNoDrive) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(VEL_Eject(nullptr), 0);
  EXPECT_EQ(VEL_Eject(""), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

}  // namespace
