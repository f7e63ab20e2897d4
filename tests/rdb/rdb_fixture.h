// The account exports against the scripted test server, which the
// machine's service host value names for the test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "creg/reg.h"
#include "rdb/service_host.h"
#include "scratch_registry.h"
#include "service_fixture.h"

namespace velinst::test {

class RdbTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    // The exports make clients of their own.
    client_.reset();
    UseScratchRegistry(registry_.Path());
    SetServiceHost(server_.HostText());
  }
  void TearDown() override {
    RemoveServiceHost();
    ServiceTest::TearDown();
  }

  static void SetServiceHost(const std::string& host) {
    CReg key;
    ASSERT_TRUE(key.OpenLocalMachine(kServiceHostKey, true));
    ASSERT_TRUE(key.SetValue("", host.c_str()));
  }
  static void RemoveServiceHost() {
    CReg key;
    if (key.OpenLocalMachine(kServiceHostKey, true)) key.DeleteValue("");
  }

  TempDir registry_;
};

}  // namespace velinst::test
