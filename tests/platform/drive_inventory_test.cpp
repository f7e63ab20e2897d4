#include "platform/drive_inventory.h"
#include "platform/cdos.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace velinst {
namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A storage device descriptor as a driver reports it: 36 bytes of header,
// then the texts.
std::vector<std::uint8_t> Descriptor(const char* vendor, const char* product, const char* serial) {
  std::vector<std::uint8_t> bytes(36, 0);
  const auto append = [&](const char* text, std::size_t field) {
    if (text == nullptr) return;
    Put32(bytes, field, static_cast<std::uint32_t>(bytes.size()));
    bytes.insert(bytes.end(), text, text + std::strlen(text) + 1);
  };
  append(vendor, 12);
  append(product, 16);
  append(serial, 24);
  Put32(bytes, 4, static_cast<std::uint32_t>(bytes.size()));
  return bytes;
}

class FakeInventory final : public platform::IDriveInventoryQuery {
 public:
  std::vector<std::string> DriveRoots() override { return roots; }
  std::optional<std::vector<std::uint8_t>> DeviceDescriptor(const std::string& root) override {
    asked.push_back(root);
    const auto found = descriptors.find(root);
    if (found == descriptors.end()) return std::nullopt;
    return found->second;
  }
  std::vector<std::string> roots;
  std::map<std::string, std::vector<std::uint8_t>> descriptors;
  std::vector<std::string> asked;
};

TEST(DriveInventory, ListsEveryDriveWithWhatItsDriverReports) {
  FakeInventory drives;
  drives.roots = {"C:\\", "D:\\", "E:\\"};
  drives.descriptors["C:\\"] = Descriptor("ATA", "VELINST SSD", "S3Z9NX0K");
  drives.descriptors["E:\\"] = Descriptor("VELINST", "DVD-RW", nullptr);  // no serial number
  std::vector<DriveInventoryRecord> records(1);                           // appended to
  CDOS().ListDrives(records, drives);
  ASSERT_EQ(records.size(), 4u);
  struct Expected {
    const char* root;
    std::uint32_t ordinal;
    const char* serial;
    const char* vendor;
    const char* product;
  } expected[] = {
      {"C:\\", 0, "S3Z9NX0K", "ATA", "VELINST SSD"},
      {"D:\\", 1, "Unknown", "Unknown", "Unknown"},  // does not answer
      {"E:\\", 2, "Unknown", "VELINST", "DVD-RW"},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    const DriveInventoryRecord& record = records[i + 1];
    EXPECT_EQ(record.root, expected[i].root);
    EXPECT_EQ(record.ordinal, expected[i].ordinal);
    EXPECT_EQ(record.serialNumber, expected[i].serial);
    EXPECT_EQ(record.vendorId, expected[i].vendor);
    EXPECT_EQ(record.productId, expected[i].product);
  }
  EXPECT_EQ(drives.asked, drives.roots);
}

TEST(DriveInventory, DescriptorOffsetsOutsideTheDescriptorAreIgnored) {
  std::vector<std::uint8_t> bytes = Descriptor("ATA", "DISK", "123");
  DriveInventoryRecord record;
  Put32(bytes, 12, static_cast<std::uint32_t>(bytes.size()));  // vendor just past the end
  Put32(bytes, 16, 0xFFFFFFFFu);
  ReadDeviceDescriptor(bytes, record);
  EXPECT_EQ(record.vendorId, "Unknown");
  EXPECT_EQ(record.productId, "Unknown");
  EXPECT_EQ(record.serialNumber, "123");

  // A text without its NUL ends with the descriptor.
  bytes.pop_back();
  ReadDeviceDescriptor(bytes, record);
  EXPECT_EQ(record.serialNumber, "123");

  DriveInventoryRecord shortRecord;
  ReadDeviceDescriptor(std::vector<std::uint8_t>(20, 0xFF), shortRecord);
  EXPECT_EQ(shortRecord.vendorId, "Unknown");
  EXPECT_EQ(shortRecord.serialNumber, "Unknown");
}

TEST(DriveInventory, DriveStringsSplitAtTheirTerminators) {
  const char list[] = "A:\\\0C:\\\0D:\\\0\0Z:\\\0";
  EXPECT_EQ(SplitDriveStrings(list, sizeof list - 1), (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
  EXPECT_EQ(SplitDriveStrings(list, 5), (std::vector<std::string>{"A:\\", "C"}));
  EXPECT_TRUE(SplitDriveStrings(list, 0).empty());
}

}  // namespace
}  // namespace velinst
