#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/last_error.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst {
namespace {

using test::HelperProgram;
using test::ReadWholeFile;
using test::TempDir;

const std::string kChild = HelperProgram("child_program");

TEST(ShellExec, EmptyArgumentTextRunsProgram) {
  EXPECT_EQ(VEL_ShellExec(kChild.c_str(), ""), 1);  // the child ends at once with code 100
}

TEST(ShellExec, MissingProgramGivesZeroAndTheStartsError) {
  TempDir dir;
  VEL_SetLastError(0);
  EXPECT_EQ(VEL_ShellExec(dir.File("no-such-program").c_str(), ""), 0);
  EXPECT_EQ(platform::LastError(), 2u);  // file not found
}

TEST(ShellExec, NonZeroExitStillGivesOneAfterChildEnded) {
  TempDir dir;
  const std::string report = dir.File("report.txt");
  const std::string arguments = "\"" + report + "\" 7 300 done";
  EXPECT_EQ(VEL_ShellExec(kChild.c_str(), arguments.c_str()), 1);
  EXPECT_EQ(ReadWholeFile(report), "done\n");  // written before the child ended
}

TEST(ShellExec, ArgumentsWithQuotesAndBlanksArriveIntact) {
  TempDir dir;
  const std::string report = dir.File("report.txt");
  const std::string arguments = "\"" + report + "\" 0 0 \"a b\" c\\\"d \"e\\\\\" f\\\\g";
  ASSERT_EQ(VEL_ShellExec(kChild.c_str(), arguments.c_str()), 1);
  EXPECT_EQ(ReadWholeFile(report), "a b\nc\"d\ne\\\nf\\\\g\n");
}

TEST(ShellExec, OverlongCommandLineIsRefused) {
  const std::string arguments(600, 'a');
  VEL_SetLastError(0);
  EXPECT_EQ(VEL_ShellExec(kChild.c_str(), arguments.c_str()), 0);
  EXPECT_EQ(platform::LastError(), platform::kErrorTooLong);
}

TEST(ShellExecNoWait, ReturnsWhileProgramKeepsRunning) {
  TempDir dir;
  const std::string report = dir.File("report.txt");
  const std::string parameters = "\"" + report + "\" 0 3000 late";
  ASSERT_EQ(VEL_ShellExecNoWait(kChild.c_str(), parameters.c_str()), 1);
  // The child writes its report only after three seconds.
  EXPECT_FALSE(test::FileExists(report));
  for (int i = 0; i < 200 && !test::FileExists(report); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(ReadWholeFile(report), "late\n");
}

TEST(ShellExecNoWait, MissingFileGivesZero) {
  TempDir dir;
  EXPECT_EQ(VEL_ShellExecNoWait(dir.File("missing.exe").c_str(), ""), 0);
}

}  // namespace
}  // namespace velinst
