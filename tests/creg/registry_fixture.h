// A registry key of one test, under HKEY_CURRENT_USER\Software, removed
// with everything below it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "creg/reg.h"
#include "scratch_registry.h"
#include "test_support.h"

namespace velinst::test {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseScratchRegistry(store_.Path() + "registry");
    name_ = "velinst-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
    TearDown();
  }
  void TearDown() override {
    CReg software;
    if (software.OpenCurrentUser("Software", true)) software.DeleteKey(name_.c_str(), true);
  }
  // The test's key, or a path below it.
  std::string Key(const std::string& below = "") const {
    return "Software\\" + name_ + (below.empty() ? "" : "\\" + below);
  }

  TempDir store_;

 private:
  std::string name_;
};

}  // namespace velinst::test
