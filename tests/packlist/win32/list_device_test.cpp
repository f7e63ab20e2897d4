// The list file on Windows: a list named by a device is written but never
// removed.
#include <gtest/gtest.h>

#include <string>

#include "packlist/list_file.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst::packlist {
namespace {

TEST(ListDevice, NonRegularListIsNeverRemoved) {
  const std::string region = velinst::test::ProgramDir() + "examples/monterey_bay.rgn";
  EXPECT_EQ(VEL_MakePackList24K(region.c_str(), "NUL", 62500), 0);
  EXPECT_EQ(VEL_MakePackList24K(region.c_str(), "NUL", 24000), 14);
  std::unique_ptr<ListOutput> device = CreateListFile("NUL");
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->Write("x\r\n", 3));
  device->Remove();
  EXPECT_NE(CreateListFile("NUL"), nullptr);
}

}  // namespace
}  // namespace velinst::packlist
