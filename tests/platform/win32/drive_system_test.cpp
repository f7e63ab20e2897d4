#include <windows.h>

#include <gtest/gtest.h>

#include "platform/cdos.h"

namespace velinst {
namespace {

TEST(DriveSystem, InventoryListsEveryDriveOfTheSystemInOrder) {
  std::vector<DriveInventoryRecord> records;
  CDOS().ListDrives(records);
  char list[256] = {};
  const DWORD length = ::GetLogicalDriveStringsA(sizeof list, list);
  const std::vector<std::string> roots = SplitDriveStrings(list, length);
  ASSERT_EQ(records.size(), roots.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].root, roots[i]);
    EXPECT_EQ(records[i].ordinal, i);
    EXPECT_FALSE(records[i].vendorId.empty());
  }
  // The test prefix has C: and the CD-ROM drive D:.
  EXPECT_EQ(records.at(0).root, "C:\\");
  EXPECT_EQ(records.at(1).root, "D:\\");
}

TEST(DriveSystem, SystemDiskIsNotEjected) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(CDOS().Eject('C'), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Cannot eject.  Drive type is incorrect.\n");
}

}  // namespace
}  // namespace velinst
