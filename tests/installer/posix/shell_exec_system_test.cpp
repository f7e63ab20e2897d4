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

extern const std::uint32_t kNotAProgramError = ENOEXEC;

namespace {

// PATH replaced for one test, put back afterwards.
struct PathForTest {
  const std::string saved = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "/usr/bin:/bin";
  explicit PathForTest(const std::string& path) { ::setenv("PATH", path.c_str(), 1); }
  ~PathForTest() { ::setenv("PATH", saved.c_str(), 1); }
};

// A document goes to the opener found on PATH; without one the start fails with "file not found".
TEST(ShellExecNoWaitSystem, DocumentGoesToTheOpenerFoundOnPath) {
  test::TempDir dir;
  const std::string document = dir.File("map & = + % # < > ' .txt");
  const std::string report = dir.File("opened.txt");
  test::WriteWholeFile(document, "a document\n");
  {
    PathForTest path(dir.Path());
    VEL_SetLastError(0);
    EXPECT_EQ(VEL_ShellExecNoWait(document.c_str(), ""), 0);
    EXPECT_EQ(platform::LastError(), 2u);
  }
  test::WriteWholeFile(dir.File("xdg-open"),
                 "#!/bin/sh\necho \"$1\" > \"" + report + ".new\"\nmv \"" + report + ".new\" \"" + report + "\"\n");
  ASSERT_EQ(::chmod(dir.File("xdg-open").c_str(), 0700), 0);
  PathForTest path(dir.Path() + ":/usr/bin:/bin");
  ASSERT_EQ(VEL_ShellExecNoWait(document.c_str(), "ignored"), 1);
  for (int i = 0; i < 200 && !test::FileExists(report); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(test::ReadWholeFile(report), document + "\n");
}

}  // namespace
}  // namespace velinst
