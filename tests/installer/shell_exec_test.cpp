#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/last_error.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst {

// What starting a file that is no program leaves as the last error (defined
// beside the system tests).
extern const std::uint32_t kNotAProgramError;

namespace {

const std::string kChild = test::HelperProgram("child_program");

// The child writes its arguments after the third to the report before it
// ends; a non-zero exit code still gives one.
TEST(ShellExec, RunsTheProgramWithItsArgumentsIntactAndGivesOneWhateverItsExitCode) {
  test::TempDir dir;
  EXPECT_EQ(VEL_ShellExec(kChild.c_str(), ""), 1);  // the child ends at once with code 100
  const std::string report = dir.File("report.txt");
  const std::string arguments = "\"" + report + "\" 7 300 \"a b\" c\\\"d \"e\\\\\" f\\\\g & = + % # < > '";
  EXPECT_EQ(VEL_ShellExec(kChild.c_str(), arguments.c_str()), 1);
  EXPECT_EQ(test::ReadWholeFile(report), "a b\nc\"d\ne\\\nf\\\\g\n&\n=\n+\n%\n#\n<\n>\n'\n");
}

TEST(ShellExec, FailedStartGivesZeroAndTheError) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("not-a-program.exe"), std::string("\x7F\x01\x02 no format of any kind", 25));
  std::filesystem::permissions(dir.File("not-a-program.exe"), std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  const struct {
    std::string program, arguments;
    bool wait;
    std::uint32_t error;
  } cases[] = {{dir.File("no-such-program"), "", true, 2},  // file not found
               {dir.File("missing.exe"), "", false, 2},
               {dir.File("not-a-program.exe"), "", false, kNotAProgramError},
               {kChild, std::string(600, 'a'), true, platform::kErrorTooLong}};
  for (const auto& c : cases) {
    VEL_SetLastError(0);
    EXPECT_EQ(c.wait ? VEL_ShellExec(c.program.c_str(), c.arguments.c_str())
                     : VEL_ShellExecNoWait(c.program.c_str(), c.arguments.c_str()),
              0)
        << c.program;
    EXPECT_EQ(platform::LastError(), c.error) << c.program;
  }
}

TEST(ShellExecNoWait, ReturnsWhileProgramKeepsRunning) {
  test::TempDir dir;
  const std::string report = dir.File("report.txt");
  const std::string parameters = "\"" + report + "\" 0 3000 late";
  ASSERT_EQ(VEL_ShellExecNoWait(kChild.c_str(), parameters.c_str()), 1);
  // The child writes its report only after three seconds.
  EXPECT_FALSE(test::FileExists(report));
  for (int i = 0; i < 200 && !test::FileExists(report); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(test::ReadWholeFile(report), "late\n");
}

}  // namespace
}  // namespace velinst
