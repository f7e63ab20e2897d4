// The fixture of the HTTP-level tests of the stand-in, and the calls many
// of them make.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "service_client.h"

namespace velinst::service::test {

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(client_.Ready()) << "no stand-in: its port file " << VELINST_SERVICE_PORT_FILE; }

  // A new user through Account.Register; its token and id.
  struct NewUser {
    std::string name;
    std::string password;
    std::string email;
    std::string token;
    std::string id;
  };
  NewUser Register(const std::string& prefix = "user");

  // An account made by the administrator, with one user who holds the
  // AccountAdmin role.
  struct NewAccount {
    std::string id;
    std::string productId;
    NewUser admin;
  };
  NewAccount CreateAccount();

  // A plain call as the holder of a token (none when empty); a body makes it
  // a POST. Error() is the error type of its answer.
  ServiceReply Call(const std::string& token, const std::string& method, Parameters parameters = {},
                    const std::optional<std::string>& body = std::nullopt) {
    if (!token.empty()) parameters.insert(parameters.begin(), {"authToken", token});
    return client_.Call(method, parameters, Sealing::kPlain, body);
  }
  std::string Error(const std::string& token, const std::string& method, const Parameters& parameters = {},
                    const std::optional<std::string>& body = std::nullopt) {
    return Call(token, method, parameters, body).ErrorType();
  }

  ServiceClient client_;
};

// Every answer, error answers included, is an XML document with the
// reply protocol's OK.
::testing::AssertionResult WellFormedAnswer(const ServiceReply& reply);

}  // namespace velinst::service::test
