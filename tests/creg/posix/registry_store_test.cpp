// The host's file store: concurrent writers and a damaged file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "creg/reg.h"
#include "registry_fixture.h"

namespace velinst {
namespace {

using RegistryStoreTest = test::RegistryTest;

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValuesEach = 60;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      CReg reg;
      bool ok = reg.OpenCurrentUser(Key().c_str(), true);
      for (int i = 0; ok && i < kValuesEach; ++i)
        ok = reg.SetValue(("p" + std::to_string(child) + "-" + std::to_string(i)).c_str(), std::int32_t{i});
      ::_exit(ok ? 0 : 1);
    }
  }
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), false));
  EXPECT_EQ(reg.CountEntries(CReg::kEnumValues), 2u * kValuesEach);
}

TEST_F(RegistryStoreTest, DamagedStoreIsNeitherReadNorOverwritten) {
  const std::string file = store_.File("registry/HKEY_CURRENT_USER.reg");
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), true));
  test::WriteWholeFile(file, "garbage written by someone else\n");
  std::string text;
  EXPECT_FALSE(reg.SetValue("v", "1"));
  EXPECT_FALSE(reg.GetValue("v", text));
  EXPECT_EQ(test::ReadWholeFile(file), "garbage written by someone else\n");
}

// The registry editor would import the lines before a fault; the host
// imports a script whole or not at all.
TEST_F(RegistryStoreTest, ScriptWithAFaultLateInItImportsNothing) {
  const std::string script = store_.File("late-fault.reg");
  test::WriteWholeFile(script, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + Key("First") +
                                   "]\r\n\"v\"=\"1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\" + Key("Second") +
                                   "]\r\n\"w\"=dword:123456789\r\n");
  testing::internal::CaptureStdout();
  EXPECT_TRUE(ImportRegFile(script.c_str())) << "the import ran and rejected the script";
  const std::string diagnostic = testing::internal::GetCapturedStdout();
  EXPECT_NE(diagnostic.find("ImportRegFile: script rejected: line 7:"), std::string::npos) << diagnostic;
  CReg reg;
  EXPECT_FALSE(reg.OpenCurrentUser(Key("First").c_str(), false)) << "not even the sound first section";
  EXPECT_FALSE(reg.OpenLocalMachine(Key("Second").c_str(), false));
}

}  // namespace
}  // namespace velinst
