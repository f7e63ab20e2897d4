#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/cdos.h"

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

TEST_F(CdosVolumes, EjectRunsTheWholeSequenceInOrder) {
  FakeVolume volume;
  EXPECT_EQ(Eject('E', volume), 1);
  EXPECT_EQ(volume.calls, kWholeSequence);
  EXPECT_EQ(output_, "");
}

TEST_F(CdosVolumes, RemovableDriveIsOpenedForWriting) {
  FakeVolume volume;
  EXPECT_EQ(Eject('F', volume), 1);
  EXPECT_EQ(volume.calls.at(0), "open F rw");
}

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
      {0, 0, 20, 950},  // in use throughout: about one second, then nothing
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

TEST_F(CdosVolumes, ResultDependsOnLockDismountAndClose) {
  struct Case {
    const char* what;
    bool dismounts, allowsRemoval, ejects, closes;
    int result;
    Calls calls;
  } cases[] = {
      {"dismount refused", false, true, true, true, 0, {"open E r", "lock", "dismount", "close"}},
      {"removal refused", true, false, true, true, 1, {"open E r", "lock", "dismount", "allow removal", "close"}},
      {"eject refused", true, true, false, true, 1, kWholeSequence},
      {"close fails", true, true, true, false, 0, kWholeSequence},
  };
  for (const Case& c : cases) {
    FakeVolume volume;
    volume.dismounts = c.dismounts;
    volume.allowsRemoval = c.allowsRemoval;
    volume.ejects = c.ejects;
    volume.closes = c.closes;
    EXPECT_EQ(Eject('E', volume), c.result) << c.what;
    EXPECT_EQ(volume.calls, c.calls) << c.what;
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

}  // namespace
}  // namespace velinst
