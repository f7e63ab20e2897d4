#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/last_error.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst {
namespace {

using test::FileExists;
using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

void WriteProgram(const std::string& path, const std::string& contents) {
  WriteWholeFile(path, contents);
  ASSERT_EQ(::chmod(path.c_str(), 0700), 0);
}

// PATH replaced for one test, put back afterwards.
struct PathForTest {
  const std::string saved = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";
  explicit PathForTest(const std::string& path) { ::setenv("PATH", path.c_str(), 1); }
  ~PathForTest() { ::setenv("PATH", saved.c_str(), 1); }
};

// A document goes to the opener found on PATH; without one the start fails with "file not found".
// A file marked executable that is no program gives the start's error.
TEST(ShellExecNoWaitSystem, DocumentGoesToTheOpenerFoundOnPath) {
  TempDir dir;
  WriteProgram(dir.File("not-a-program"), std::string("\x7F\x01\x02 no format of any kind", 25));
  VEL_SetLastError(0);
  EXPECT_EQ(VEL_ShellExecNoWait(dir.File("not-a-program").c_str(), ""), 0);
  EXPECT_EQ(platform::LastError(), static_cast<std::uint32_t>(ENOEXEC));
  const std::string document = dir.File("map & = + % # < > ' .txt");
  const std::string report = dir.File("opened.txt");
  WriteWholeFile(document, "a document\n");
  {
    PathForTest path(dir.Path());
    VEL_SetLastError(0);
    EXPECT_EQ(VEL_ShellExecNoWait(document.c_str(), ""), 0);
    EXPECT_EQ(platform::LastError(), 2u);
  }
  WriteProgram(dir.File("xdg-open"),
               "#!/bin/sh\necho \"$1\" > \"" + report + ".new\"\nmv \"" + report + ".new\" \"" + report + "\"\n");
  PathForTest path(dir.Path() + ":/usr/bin:/bin");
  ASSERT_EQ(VEL_ShellExecNoWait(document.c_str(), "ignored"), 1);
  for (int i = 0; i < 200 && !FileExists(report); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(ReadWholeFile(report), document + "\n");
}

}  // namespace
}  // namespace velinst
