// The list file on the host: a list named by something other than a regular
// file is written but never removed, and a write refused by the system
// (the file size limit, as a full disk refuses it) removes the list.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "velinst.h"

namespace velinst::packlist {
namespace {

using velinst::test::FileExists;
using velinst::test::TempDir;

TEST(ListDevice, NonRegularListIsNeverRemovedAndARefusedWriteRemovesTheList) {
  TempDir dir;
  const std::string region = velinst::test::ProgramDir() + "examples/monterey_bay.rgn";
  const std::string fifo = dir.File("list.fifo"), list = dir.File("pack.lst");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // A reader, so that opening the list for writing does not wait.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(VEL_MakePackList24K(region.c_str(), fifo.c_str(), 62500), 0);
  EXPECT_EQ(VEL_MakePackList24K(dir.File("missing.rgn").c_str(), fifo.c_str(), 24000), -1);
  testing::internal::GetCapturedStdout();
  ::close(reader);
  struct stat info {};
  EXPECT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;  // the 256 lines of the example take 2304 bytes
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = VEL_MakePackList24K(region.c_str(), list.c_str(), 250000);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(FileExists(list));
}

}  // namespace
}  // namespace velinst::packlist
