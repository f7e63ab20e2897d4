// CDOS on drives: kinds, space, ejecting, and the drive inventory.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/cdos.h"
#include "platform/drive_inventory.h"

namespace velinst {
namespace {

using platform::DiskSpace;
using platform::DriveType;

// A drive table of the test's own.
class FakeDrives final : public platform::DriveQuery {
 public:
  struct Drive {
    DriveType type = DriveType::kFixed;
    bool medium = true;
    DiskSpace space;
    const char* label = "";  // null: the label query fails
  };
  std::map<char, Drive> drives;

  static Drive Of(DriveType type, bool medium = true) { return {type, medium, {}, ""}; }
  std::uint32_t LogicalDrives() const override {
    std::uint32_t mask = 0;
    for (const auto& entry : drives) mask |= 1u << (entry.first - 'A');
    return mask;
  }
  DriveType TypeOf(char letter) const override {
    return drives.count(letter) ? drives.at(letter).type : DriveType::kNoRootDir;
  }
  bool HasMedium(char letter) const override { return drives.count(letter) && drives.at(letter).medium; }
  char CurrentDrive() const override { return 'C'; }
  bool SetCurrentDrive(char letter) const override { return drives.count(letter) != 0; }
  bool Space(char letter, DiskSpace& space) const override {
    return drives.count(letter) && (space = drives.at(letter).space, true);
  }
  bool VolumeLabel(char letter, char* buffer, std::size_t size) const override {
    const char* label = drives.at(letter).label;  // a failed call may leave garbage behind
    return std::strncpy(buffer, label != nullptr ? label : "garbage", size) && label != nullptr;
  }
};

TEST(CDOSDrives, KindAndReadinessFollowTheDriveType) {
  const struct {
    char letter;
    DriveType type;
    bool medium;
    int kind;
    bool ready;
  } cases[] = {{'A', DriveType::kRemovable, false, 9, false},  // floppy without a disk
               {'B', DriveType::kRemovable, true, 9, true},   {'C', DriveType::kFixed, false, 4, true},
               {'D', DriveType::kCdRom, false, 42, false},    {'E', DriveType::kCdRom, true, 42, true},
               {'F', DriveType::kRemovable, false, 8, true},  // other removable drives need no test
               {'N', DriveType::kRemote, true, 16, true},     {'R', DriveType::kRamDisk, true, 4, true},
               {'U', DriveType::kUnknown, true, 0, false}};
  FakeDrives fake;
  for (const auto& c : cases) fake.drives[c.letter] = FakeDrives::Of(c.type, c.medium);
  CDOS dos;
  for (const auto& c : cases) {
    EXPECT_EQ(dos.DriveKind(c.letter, fake), c.kind) << c.letter;
    EXPECT_EQ(dos.IsDriveReady(c.letter, fake), c.ready) << c.letter;
  }
  EXPECT_FALSE(dos.DriveKind('X', fake) || dos.IsDriveReady('X', fake)) << "no such drive";
  EXPECT_EQ(dos.FirstCdDrive(fake), 'D') << "with or without a disc";
  EXPECT_EQ(dos.FirstCdDrive(FakeDrives{}), 0);
  // A label needs a ready drive and an answer: a failed query is no label.
  fake.drives['B'].label = "DATA";
  fake.drives['E'].label = nullptr;
  for (const auto& [letter, expected] :
       std::map<char, std::string>{{'B', "DATA"}, {'A', "-"}, {'C', "-"}, {'E', "-"}}) {
    char label[CDOS::kLabelCapacity] = "x";
    EXPECT_EQ(dos.VolumeLabel(letter, label, fake) ? label : "-" + std::string(label), expected) << letter;
  }
}

TEST(CDOSDrives, SpaceSaturatesInsteadOfWrapping) {
  const struct {
    DiskSpace space;
    std::uint32_t free, used;
  } cases[] = {{{8, 512, 1000, 3000}, 8u * 512 * 1000, 8u * 512 * 2000},
               {{8, 512, 2000000, 4000000}, 0xFFFFFFFFu, 0xFFFFFFFFu},  // about 8 GB free and used
               {{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 0xFFFFFFFFu, 0},
               {{8, 512, 10, 5}, 8u * 512 * 10, 0}};  // an inconsistent answer
  for (const auto& c : cases) {
    FakeDrives fake;
    fake.drives['C'].space = c.space;
    EXPECT_EQ(CDOS().FreeSpace('C', fake), c.free) << c.space.freeClusters;
    EXPECT_EQ(CDOS().UsedSpace('C', fake), c.used) << c.space.freeClusters;
    EXPECT_EQ(CDOS().FreeSpace('X', fake), 0u);
  }
}

// A volume that refuses the calls named in `refuses` ("open" fails with
// error 32); it records the calls.
class FakeVolume final : public platform::IVolumeControl {
 public:
  std::string refuses;
  int lockSucceedsAt = 1;  // the attempt that succeeds; 0 for never
  std::string calls;
  int lockAttempts = 0;
  std::chrono::milliseconds waited{0};

  std::uint32_t Open(char letter, bool writeAccess) override {
    return Call(std::string("open ") + letter + (writeAccess ? " rw" : " r"), "open") ? 0 : 32;
  }
  bool Lock() override {
    if (++lockAttempts == 1) calls += "lock|";
    return lockSucceedsAt != 0 && lockAttempts >= lockSucceedsAt;
  }
  bool Dismount() override { return Call("dismount"); }
  bool AllowRemoval(bool prevent) override { return Call(prevent ? "prevent removal" : "allow removal"); }
  bool EjectMedium() override { return Call("eject"); }
  bool Close() override { return Call("close"); }
  void Wait(std::chrono::milliseconds delay) override { waited += delay; }

 private:
  bool Call(const std::string& name, const std::string& answerOf = "") {
    calls += name + "|";
    return refuses.find(answerOf.empty() ? name : answerOf) == std::string::npos;
  }
};

TEST(CdosVolumes, EjectSequenceAndItsResult) {
  const char* const whole = "open E r|lock|dismount|allow removal|eject|close|";
  const char* const wrongType = "Cannot eject.  Drive type is incorrect.\n";
  const struct {
    char letter;
    int lockSucceedsAt;
    const char* refuses;
    int result;
    const char* calls;
    int waitedMs;
    const char* output;
  } cases[] = {
      {'E', 1, "", 1, whole, 0, ""},
      {'F', 1, "", 1, "open F rw|lock|dismount|allow removal|eject|close|", 0, ""},  // removable: opened for writing
      {'E', 5, "", 1, whole, 200, ""},  // the lock is retried with a wait between attempts
      {'E', 20, "", 1, whole, 950, ""},
      {'E', 0, "", 0, "open E r|lock|close|", 950, ""},  // in use throughout: about one second, then nothing
      {'E', 1, "dismount", 0, "open E r|lock|dismount|close|", 0, ""},
      {'E', 1, "allow removal", 1, "open E r|lock|dismount|allow removal|close|", 0, ""},
      {'E', 1, "eject", 1, whole, 0, ""},
      {'E', 1, "close", 0, whole, 0, ""},
      {'E', 1, "open", 0, "open E r|", 0, "CreateFile error 32\n"},
      {'C', 1, "", 0, "", 0, wrongType},
      {'X', 1, "", 0, "", 0, wrongType}};
  FakeDrives drives;
  for (const auto& [letter, type] : std::map<char, DriveType>{
           {'C', DriveType::kFixed}, {'E', DriveType::kCdRom}, {'F', DriveType::kRemovable}, {'N', DriveType::kRemote}})
    drives.drives[letter] = FakeDrives::Of(type);
  for (const auto& c : cases) {
    FakeVolume volume;
    volume.lockSucceedsAt = c.lockSucceedsAt;
    volume.refuses = c.refuses;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(CDOS().Eject(c.letter, drives, volume), c.result) << c.letter << c.lockSucceedsAt << c.refuses;
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.output);
    EXPECT_EQ(volume.calls, c.calls) << c.letter << c.lockSucceedsAt << c.refuses;
    EXPECT_EQ(volume.waited.count(), c.waitedMs) << c.letter << c.lockSucceedsAt << c.refuses;
  }
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

TEST(DriveInventory, DescriptorOffsetsOutsideTheDescriptorAreIgnoredAndDriveStringsSplit) {
  std::vector<std::uint8_t> bytes = Descriptor("ATA", "DISK", "123");
  Put32(bytes, 12, static_cast<std::uint32_t>(bytes.size()));  // vendor just past the end
  Put32(bytes, 16, 0xFFFFFFFFu);
  bytes.pop_back();  // a text without its NUL ends with the descriptor
  DriveInventoryRecord whole, record, shortRecord;
  ReadDeviceDescriptor(Descriptor("ATA", "VELINST SSD", nullptr), whole);  // no serial number
  EXPECT_EQ(whole.vendorId + " " + whole.productId + " " + whole.serialNumber, "ATA VELINST SSD Unknown");
  ReadDeviceDescriptor(bytes, record);
  EXPECT_EQ(record.vendorId + " " + record.productId + " " + record.serialNumber, "Unknown Unknown 123");
  ReadDeviceDescriptor(std::vector<std::uint8_t>(20, 0xFF), shortRecord);
  EXPECT_EQ(shortRecord.vendorId + " " + shortRecord.serialNumber, "Unknown Unknown");
  const char list[] = "A:\\\0C:\\\0D:\\\0\0Z:\\\0";
  EXPECT_EQ(SplitDriveStrings(list, sizeof list - 1), (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
  EXPECT_EQ(SplitDriveStrings(list, 5), (std::vector<std::string>{"A:\\", "C"}));
  EXPECT_TRUE(SplitDriveStrings(list, 0).empty());
}

}  // namespace
}  // namespace velinst
