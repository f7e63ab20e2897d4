// A client of the account-service stand-in that the ctest fixture started,
// signed in as a new user of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "service_client.h"
#include "test_support.h"
#include "webclient/account_session.h"
#include "webclient/rk.h"

namespace velinst::test {

class SignedInServiceTest : public ::testing::Test {
 protected:
  // `userPrefix` starts the new user's name.
  explicit SignedInServiceTest(std::string userPrefix) : userPrefix_(std::move(userPrefix)) {}

  void SetUp() override {
    ASSERT_TRUE(service_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE;
    ResetAccountSession();
    client_ = std::make_unique<CRK>(service_.HostText(), "", false);
    user_ = service::test::UniqueName(userPrefix_);
    const CRKTokenResult registered =
        client_->AccountGroup().Register(user_, "secret-1", std::nullopt, "hw-1", "6.0", "velinst-test",
                                         user_ + "@example.org", "", "", "", "", "", 70.0, "kg", &userId_);
    ASSERT_EQ(registered.code, 0);
    token_ = registered.token;
  }
  void TearDown() override {
    client_.reset();
    ResetAccountSession();
  }

  ComApartment com_;
  service::test::ServiceClient service_;
  std::unique_ptr<CRK> client_;
  std::string user_;  // with the password "secret-1"
  std::string token_;
  std::int32_t userId_ = 0;

 private:
  std::string userPrefix_;
};

}  // namespace velinst::test
