#include "platform/cdos.h"
#include "platform/drive_inventory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace velinst {
namespace {

using platform::DriveType;

// Drive types only: the eject asks nothing else of the drive table.
class DriveTypes final : public platform::DriveQuery {
 public:
  std::map<char, DriveType> types;

  std::uint32_t LogicalDrives() const override { return 0; }
  DriveType TypeOf(char letter) const override {
    const auto found = types.find(letter);
    return found == types.end() ? DriveType::kNoRootDir : found->second;
  }
  bool HasMedium(char) const override { return false; }
  char CurrentDrive() const override { return 0; }
  bool SetCurrentDrive(char) const override { return false; }
  bool Space(char, platform::DiskSpace&) const override { return false; }
  bool VolumeLabel(char, char*, std::size_t) const override { return false; }
};

// A volume whose every answer the test chooses; it records the calls.
class FakeVolume final : public platform::IVolumeControl {
 public:
  std::uint32_t openError = 0;
  int lockSucceedsAt = 1;  // the attempt that succeeds; 0 for never
  bool dismounts = true;
  bool allowsRemoval = true;
  bool ejects = true;
  bool closes = true;

  std::vector<std::string> calls;
  int lockAttempts = 0;
  std::chrono::milliseconds waited{0};

  std::uint32_t Open(char letter, bool writeAccess) override {
    calls.push_back(std::string("open ") + letter + (writeAccess ? " rw" : " r"));
    return openError;
  }
  bool Lock() override {
    if (++lockAttempts == 1) calls.push_back("lock");
    return lockSucceedsAt != 0 && lockAttempts >= lockSucceedsAt;
  }
  bool Dismount() override {
    calls.push_back("dismount");
    return dismounts;
  }
  bool AllowRemoval(bool prevent) override {
    calls.push_back(prevent ? "prevent removal" : "allow removal");
    return allowsRemoval;
  }
  bool EjectMedium() override {
    calls.push_back("eject");
    return ejects;
  }
  bool Close() override {
    calls.push_back("close");
    return closes;
  }
  void Wait(std::chrono::milliseconds delay) override { waited += delay; }
};

using Calls = std::vector<std::string>;
const Calls kWholeSequence = {"open E r", "lock", "dismount", "allow removal", "eject", "close"};

class CdosVolumes : public ::testing::Test {
 protected:
  CdosVolumes() {
    drives_.types = {
        {'C', DriveType::kFixed}, {'E', DriveType::kCdRom}, {'F', DriveType::kRemovable}, {'N', DriveType::kRemote}};
  }

  int Eject(char letter, FakeVolume& volume) {
    ::testing::internal::CaptureStdout();
    const int result = CDOS().Eject(letter, drives_, volume);
    output_ = ::testing::internal::GetCapturedStdout();
    return result;
  }

  DriveTypes drives_;
  std::string output_;
};

TEST_F(CdosVolumes, LockIsRetriedWithAWaitBetweenAttempts) {
  struct Case {
    int succeedsAt;
    int result;
    int attempts;
    int waitedMs;
  } cases[] = {
      {1, 1, 1, 0},
      {5, 1, 5, 200},
      {20, 1, 20, 950},
      {0, 0, 20, 950}  // in use throughout: about one second, then nothing
  };
  for (const Case& c : cases) {
    FakeVolume volume;
    volume.lockSucceedsAt = c.succeedsAt;
    EXPECT_EQ(Eject('E', volume), c.result) << c.succeedsAt;
    EXPECT_EQ(volume.lockAttempts, c.attempts) << c.succeedsAt;
    EXPECT_EQ(volume.waited.count(), c.waitedMs) << c.succeedsAt;
    if (c.result == 0) {
      EXPECT_EQ(volume.calls, (Calls{"open E r", "lock", "close"}));
    }
  }
}

TEST_F(CdosVolumes, ResultDependsOnDismountAndClose) {
  const Calls removable = {"open F rw", "lock", "dismount", "allow removal", "eject", "close"};
  const struct {
    const char* what;
    char letter;
    bool dismounts, allowsRemoval, ejects, closes;
    int result;
    Calls calls;
  } cases[] = {
      {"all goes well", 'E', true, true, true, true, 1, kWholeSequence},
      {"removable drive opened for writing", 'F', true, true, true, true, 1, removable},
      {"dismount refused", 'E', false, true, true, true, 0, {"open E r", "lock", "dismount", "close"}},
      {"removal refused", 'E', true, false, true, true, 1, {"open E r", "lock", "dismount", "allow removal", "close"}},
      {"eject refused", 'E', true, true, false, true, 1, kWholeSequence},
      {"close fails", 'E', true, true, true, false, 0, kWholeSequence}};
  for (const auto& c : cases) {
    FakeVolume volume;
    volume.dismounts = c.dismounts;
    volume.allowsRemoval = c.allowsRemoval;
    volume.ejects = c.ejects;
    volume.closes = c.closes;
    EXPECT_EQ(Eject(c.letter, volume), c.result) << c.what;
    EXPECT_EQ(volume.calls, c.calls) << c.what;
    EXPECT_EQ(output_, "") << c.what;
  }
}

TEST_F(CdosVolumes, WrongDriveTypeOrFailedOpenIsReportedOnStandardOutput) {
  for (const char letter : {'C', 'N', 'X'}) {
    FakeVolume volume;
    EXPECT_EQ(Eject(letter, volume), 0);
    EXPECT_EQ(output_, "Cannot eject.  Drive type is incorrect.\n");
    EXPECT_TRUE(volume.calls.empty()) << letter;
  }
  FakeVolume busy;
  busy.openError = 32;
  EXPECT_EQ(Eject('E', busy), 0);
  EXPECT_EQ(output_, "CreateFile error 32\n");
  EXPECT_EQ(busy.calls, Calls{"open E r"});
}

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
  } expected[] = {{"C:\\", 0, "S3Z9NX0K", "ATA", "VELINST SSD"},
                  {"D:\\", 1, "Unknown", "Unknown", "Unknown"},  // does not answer
                  {"E:\\", 2, "Unknown", "VELINST", "DVD-RW"}};
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
