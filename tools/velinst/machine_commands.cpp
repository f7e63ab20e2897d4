// Subcommands for the installer helpers about the machine: language,
// autoplay, eject, drive inventory, share paths and font names.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "command.h"
#include "installer/language.h"
#include "platform/cdos.h"
#include "thread_quit.h"
#include "velinst.h"

namespace velinst::cli {
namespace {

int Language(const Invocation& invocation) {
  const int id = VELINST_CLI_EXPORT(invocation, VEL_GetLanguageID)();
  std::printf("%d 0x%04x %s\n", id, static_cast<unsigned>(id), LanguageNameOf(static_cast<LanguageId>(id)));
  return 0;
}

// Holds autoplay off for the given seconds on a thread of its own, as an
// installer does, then stops and ends the thread's loop.
int Autoplay(const Invocation& invocation) {
  const auto start = VELINST_CLI_EXPORT(invocation, VEL_AutoplayStart);
  const auto stop = VELINST_CLI_EXPORT(invocation, VEL_AutoplayStop);
  const double seconds = std::strtod(invocation.ArgumentOr(0, "10").c_str(), nullptr);
  std::atomic<std::uint64_t> thread{0};
  std::atomic<int> taken{-1};
  std::thread holder([&] {
    thread = CurrentThreadToken();
    taken = start();
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (taken == -1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const int stopped = stop();
  // The quit message needs the thread's queue: post until the loop has ended.
  while (taken == -1) {
    PostQuit(thread);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  holder.join();
  std::printf("taken %d, stop %d\n", taken.load(), stopped);
  return taken == 1 ? 0 : 1;
}

int AutoplayStop(const Invocation& invocation) {
  std::printf("%d\n", VELINST_CLI_EXPORT(invocation, VEL_AutoplayStop)());
  return 0;
}

int Eject(const Invocation& invocation) {
  const int result = VELINST_CLI_EXPORT(invocation, VEL_Eject)(invocation.Argument(0).c_str());
  std::printf("%d\n", result);
  return result == 1 ? 0 : 1;
}

int Drives(const Invocation&) {
  std::vector<DriveInventoryRecord> records;
  CDOS().ListDrives(records);
  for (const DriveInventoryRecord& record : records)
    std::printf("%u %s vendor=\"%s\" product=\"%s\" serial=\"%s\"\n", record.ordinal, record.root.c_str(),
                record.vendorId.c_str(), record.productId.c_str(), record.serialNumber.c_str());
  if (records.empty()) std::printf("no drives\n");
  return 0;
}

int UncToLocal(const Invocation& invocation) {
  char path[1024] = {};
  const int result = VELINST_CLI_EXPORT(invocation, VEL_UNCtoLocal)(
      invocation.Argument(0).c_str(), invocation.Argument(1).c_str(), path, static_cast<int>(sizeof path));
  std::printf("%d %s\n", result, path);
  return result == 1 ? 0 : 1;
}

int FontName(const Invocation& invocation) {
  std::vector<char> name(1024, '\0');
  const long size = std::strtol(invocation.ArgumentOr(1, "127").c_str(), nullptr, 10);
  const int bounded = size < 0                                 ? 0
                      : size >= static_cast<long>(name.size()) ? static_cast<int>(name.size()) - 1
                                                               : static_cast<int>(size);
  const int result =
      VELINST_CLI_EXPORT(invocation, VEL_FontNameFile)(invocation.Argument(0).c_str(), name.data(), bounded);
  std::printf("%d %s\n", result, name.data());
  return result == 1 ? 0 : 1;
}

const CommandRegistration kRegistrations[] = {
    CommandRegistration(
        {"lang", "", "the system's default language identifier and its name", "VEL_GetLanguageID", 0, 0, Language}),
    CommandRegistration({"autoplay", "[SECONDS]", "hold off autoplay of the first CD-ROM drive (10 s), then stop",
                         "VEL_AutoplayStart", 0, 1, Autoplay}),
    CommandRegistration(
        {"autoplay-stop", "", "end an autoplay hold of this process", "VEL_AutoplayStop", 0, 0, AutoplayStop}),
    CommandRegistration(
        {"eject", "DRIVE", "eject the medium of a removable or CD-ROM drive", "VEL_Eject", 1, 1, Eject}),
    CommandRegistration(
        {"drives", "", "list the drives with vendor, product and serial number", nullptr, 0, 0, Drives}),
    CommandRegistration(
        {"unc", "SERVER SHARE", "the local path behind a network share", "VEL_UNCtoLocal", 2, 2, UncToLocal}),
    CommandRegistration({"fontname", "FILE [SIZE]", "the name of a TrueType font (SIZE characters, 127)",
                         "VEL_FontNameFile", 1, 2, FontName}),
};

}  // namespace
}  // namespace velinst::cli
