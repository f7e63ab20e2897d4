// End to end under the test prefix, whose drive D: is a CD-ROM drive
// (cmake/wine-prefix-setup.sh): the start export registers the cancel object
// in the running object table, where the shell would find it. The language
// export is the system's default language.
#include <windows.h>

#include <objbase.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "installer/language.h"
#include "installer/win32/cancel_autoplay.h"
#include "platform/win32/com_owner.h"
#include "velinst.h"

namespace velinst {
namespace {

// The cancel object as the shell finds it: through the class moniker in the
// running object table; null while it is not there. Which events it cancels
// is the portable test's; here the shell's path to it.
platform::ComOwner<IQueryCancelAutoPlay> FindCancelObject() {
  IMoniker* moniker = nullptr;
  IRunningObjectTable* table = nullptr;
  IUnknown* found = nullptr;
  IQueryCancelAutoPlay* cancel = nullptr;
  if (SUCCEEDED(::CreateClassMoniker(kCancelAutoplayClassId, &moniker)) &&
      SUCCEEDED(::GetRunningObjectTable(0, &table)) && SUCCEEDED(table->GetObject(moniker, &found)))
    found->QueryInterface(__uuidof(IQueryCancelAutoPlay), reinterpret_cast<void**>(&cancel));
  for (IUnknown* owned : {static_cast<IUnknown*>(moniker), static_cast<IUnknown*>(table), found})
    if (owned != nullptr) owned->Release();
  return platform::ComOwner<IQueryCancelAutoPlay>(cancel);
}

TEST(AutoplaySystem, CancelObjectAnswersTheShellUntilStopped) {
  ASSERT_EQ(::GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "see cmake/wine-prefix-setup.sh";
  ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // for the whole program

  std::atomic<DWORD> startThread{0};
  std::atomic<int> started{-1};
  std::thread thread([&] {
    startThread = ::GetCurrentThreadId();
    started = VEL_AutoplayStart();
  });

  platform::ComOwner<IQueryCancelAutoPlay> cancel = FindCancelObject();
  for (int wait = 0; wait < 2000 && cancel == nullptr; ++wait, ::Sleep(10)) cancel = FindCancelObject();
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

TEST(LanguageSystem, ExportIsTheSystemDefaultLanguage) {
  EXPECT_EQ(VEL_GetLanguageID(), ::GetSystemDefaultLangID());
  EXPECT_EQ(CLanguage().Id(), ::GetSystemDefaultLangID());
}

}  // namespace
}  // namespace velinst
