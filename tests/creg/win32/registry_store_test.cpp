// Windows keeps its own registry; two writers at once through CReg.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "creg/reg.h"
#include "registry_fixture.h"

namespace velinst {
namespace {

using RegistryStoreTest = test::RegistryTest;

TEST_F(RegistryStoreTest, TwoWritersAtOnceLoseNothing) {
  constexpr int kValuesEach = 60;
  auto write = [this](int writer) {
    CReg reg;
    bool ok = reg.OpenCurrentUser(Key().c_str(), true);
    for (int i = 0; ok && i < kValuesEach; ++i)
      ok = reg.SetValue(("p" + std::to_string(writer) + "-" + std::to_string(i)).c_str(), std::int32_t{i});
    EXPECT_TRUE(ok);
  };
  std::thread first(write, 0), second(write, 1);
  first.join();
  second.join();
  CReg reg;
  ASSERT_TRUE(reg.OpenCurrentUser(Key().c_str(), false));
  EXPECT_EQ(reg.CountEntries(CReg::kEnumValues), 2u * kValuesEach);
}

}  // namespace
}  // namespace velinst
