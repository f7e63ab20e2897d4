#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/last_error.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst {
namespace {

using test::TempDir;
using test::WriteWholeFile;

TEST(ShellExecNoWaitSystem, FileMarkedExecutableThatIsNoProgramGivesTheStartsError) {
  TempDir dir;
  const std::string notAProgram = dir.File("not-a-program.exe");
  WriteWholeFile(notAProgram, std::string("\x7F\x01\x02 no format of any kind", 25));
  VEL_SetLastError(0);
  EXPECT_EQ(VEL_ShellExecNoWait(notAProgram.c_str(), ""), 0);
  EXPECT_EQ(platform::LastError(), static_cast<std::uint32_t>(ERROR_BAD_EXE_FORMAT));
}

}  // namespace
}  // namespace velinst
