// End to end under the test prefix, whose drive D: is a CD-ROM drive
// (cmake/wine-prefix-setup.sh): the start export registers the cancel object
// in the running object table, where the shell would find it.
#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "installer/win32/cancel_autoplay.h"
#include "platform/win32/com_owner.h"
#include "velinst.h"

namespace velinst {
namespace {

template <typename Interface>
using Owned = platform::ComOwner<Interface>;

// The cancel object as the shell finds it: through the class moniker. Which
// events it cancels is the portable test's; here the shell's path to it.
Owned<IQueryCancelAutoPlay> FindCancelObject(std::chrono::milliseconds patience) {
  IMoniker* moniker = nullptr;
  if (FAILED(::CreateClassMoniker(kCancelAutoplayClassId, &moniker))) return nullptr;
  const Owned<IMoniker> ownedMoniker(moniker);
  IRunningObjectTable* table = nullptr;
  if (FAILED(::GetRunningObjectTable(0, &table))) return nullptr;
  const Owned<IRunningObjectTable> ownedTable(table);
  const auto deadline = std::chrono::steady_clock::now() + patience;
  do {
    IUnknown* found = nullptr;
    if (SUCCEEDED(table->GetObject(moniker, &found))) {
      const Owned<IUnknown> unknown(found);
      IQueryCancelAutoPlay* cancel = nullptr;
      if (FAILED(unknown->QueryInterface(__uuidof(IQueryCancelAutoPlay), reinterpret_cast<void**>(&cancel))))
        return nullptr;
      return Owned<IQueryCancelAutoPlay>(cancel);
    }
    ::Sleep(10);
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

TEST(AutoplaySystem, CancelObjectAnswersTheShellUntilStopped) {
  ASSERT_EQ(::GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the test prefix has one (cmake/wine-prefix-setup.sh)";
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // for the whole program

  std::atomic<DWORD> startThread{0};
  std::atomic<int> started{-1};
  std::thread thread([&] {
    startThread = ::GetCurrentThreadId();
    started = VEL_AutoplayStart();
  });

  Owned<IQueryCancelAutoPlay> cancel = FindCancelObject(std::chrono::seconds(20));
  ASSERT_NE(cancel, nullptr);
  // A quit message while suppressing does not end the start thread's loop.
  ::PostThreadMessageW(startThread, WM_QUIT, 0, 0);
  ::Sleep(200);
  EXPECT_EQ(started, -1);
  EXPECT_EQ(cancel->AllowAutoPlay(L"D:\\", 0x4, L"DISC", 0), S_FALSE);

  EXPECT_GE(VEL_AutoplayStop(), 0);
  // Still referenced here, but no longer suppressing.
  EXPECT_EQ(cancel->AllowAutoPlay(L"D:\\", 0x4, L"DISC", 0), S_OK);
  cancel.reset();

  ::PostThreadMessageW(startThread, WM_QUIT, 0, 0);
  thread.join();
  EXPECT_EQ(started, 1);
}

// The test prefix has the shell's key (cmake/wine-prefix-setup.sh). The value
// is removed afterwards, so that every run proves the write at load anew.
TEST(AutoplaySystem, LoadingListsTheCancelClassUnderTheShellsHandlers) {
  const char* const handlers =
      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\AutoplayHandlers\\CancelAutoplay\\CLSID";
  const char* const value = "DDEFE873-6997-4e68-BE26-39B633ADBE12";
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, handlers, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  DWORD type = 0;
  BYTE data[8] = {1, 1};
  DWORD size = sizeof data;
  EXPECT_EQ(::RegQueryValueExA(key, value, nullptr, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data[0], 0);
  EXPECT_EQ(::RegDeleteValueA(key, value), ERROR_SUCCESS);
  ::RegCloseKey(key);
}

}  // namespace
}  // namespace velinst
