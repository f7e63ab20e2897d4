// The account web service as the scripted test server plays it, a client
// on it, and a temporary folder of the test's own where answers land.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "temporary_folder.h"
#include "test_server_client.h"
#include "test_support.h"
#include "webclient/rk.h"

namespace velinst::test {

using QueryPairs = std::vector<std::pair<std::string, std::string>>;

// The text of a raised error.
std::string Message(const CLastErr& error);

// The message `action` raises through a CLastErr pointer, or "(nothing)";
// `raisedOn` (when given) receives the pointer thrown.
template <typename Action>
std::string Raised(Action action, const CLastErr** raisedOn = nullptr) {
  try {
    action();
  } catch (CLastErr* error) {
    if (raisedOn != nullptr) *raisedOn = error;
    return Message(*error);
  }
  return "(nothing)";
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // "rsp" with status="ok" around `elements`, for every request of `method`
  // (the last scripted answer repeats).
  void AnswerOk(const std::string& method, const std::string& elements);
  // "rsp" with status="err" and an error element of `type`.
  void AnswerError(const std::string& method, const std::string& type);
  void Answer(const std::string& method, const testserver::ScriptedAnswer& answer) { server_.Answer(method, answer); }

  std::vector<testserver::LoggedRequest> Requests() { return server_.Requests(); }
  // The method names of the requests received, in order.
  std::vector<std::string> Methods();
  // The query of a request as sent, from its "method" parameter on.
  static std::string RawQuery(const testserver::LoggedRequest& request);
  // The parameters of every request received after "method", each as
  // "name=value&..." with the values decoded; an encrypted parameter is
  // replaced by the parameters it carries.
  std::vector<std::string> Sent();

  // What the temporary folder holds now.
  std::vector<std::string> TemporaryFiles() const;

  CRK& Client() { return *client_; }
  CRKAccountClass& Account() { return client_->AccountGroup(); }

  ComApartment com_;
  http::test::TestServerClient server_;
  TempDir temporary_;
  std::optional<TemporaryFolderRedirect> redirect_;
  std::unique_ptr<CRK> client_;
};

}  // namespace velinst::test
