// The list file on Windows: a list named by a device is written but never
// removed.
#include <gtest/gtest.h>

#include <string>

#include "pack_list_test_support.h"
#include "packlist/list_file.h"
#include "velinst.h"

namespace velinst::packlist {
namespace {

TEST(ListDevice, NonRegularListIsNeverRemoved) {
  EXPECT_EQ(VEL_MakePackList24K(test::ExamplePath("monterey_bay.rgn").c_str(), "NUL", 62500), 0);
  EXPECT_EQ(VEL_MakePackList24K(test::ExamplePath("monterey_bay.rgn").c_str(), "NUL", 24000), 14);
  std::unique_ptr<ListOutput> device = CreateListFile("NUL");
  ASSERT_NE(device, nullptr);
  EXPECT_TRUE(device->Write("x\r\n", 3));
  device->Remove();
  EXPECT_NE(CreateListFile("NUL"), nullptr);
}

}  // namespace
}  // namespace velinst::packlist
