#include "service_test_fixture.h"

namespace velinst::service::test {

::testing::AssertionResult WellFormedAnswer(const ServiceReply& reply) {
  if (!reply.received) return ::testing::AssertionFailure() << "no body: " << Describe(reply);
  if (reply.contentType != "text/xml; charset=utf-8" || reply.statusText != "OK")
    return ::testing::AssertionFailure() << "headers: " << Describe(reply);
  if (!reply.answer || reply.answer->name != "rsp")
    return ::testing::AssertionFailure() << "not an rsp document: " << Describe(reply);
  if (reply.answer->hasWhitespaceNodes) return ::testing::AssertionFailure() << "whitespace between elements";
  if (reply.answer->Attribute("status") == "err") {
    const auto& children = reply.answer->children;
    if (children.size() != 1 || children[0].Attribute("type").empty() || children[0].Attribute("msg").empty())
      return ::testing::AssertionFailure() << "error answer without type and msg: " << reply.body;
  } else if (reply.answer->Attribute("status") != "ok") {
    return ::testing::AssertionFailure() << "status neither ok nor err: " << reply.body;
  }
  return ::testing::AssertionSuccess();
}

ServiceTest::NewUser ServiceTest::Register(const std::string& prefix) {
  NewUser user;
  user.name = UniqueName(prefix);
  user.password = "secret-" + user.name;
  user.email = user.name + "@example.org";
  const ServiceReply reply = client_.Call(
      "Account.Register", {{"username", user.name}, {"password", user.password}, {"emailAddress", user.email}},
      Sealing::kData);
  EXPECT_TRUE(reply.Ok()) << Describe(reply);
  user.token = reply.Text("AuthToken");
  user.id = reply.Text("UserID");
  return user;
}

ServiceTest::NewAccount ServiceTest::CreateAccount() {
  NewAccount account;
  const std::string admin = client_.AdminToken();
  account.productId = UniqueName("product");
  const ServiceReply created =
      Call(admin, "Accounts.Create", {{"users", "3"}, {"productId", account.productId}, {"sku", "BASESUBSCRIPTION"}},
           "<Account><Name>Trail Co</Name></Account>");
  EXPECT_TRUE(created.Ok()) << Describe(created);
  account.id = created.FieldText("Account", "Id").value_or("");
  NewUser& user = account.admin;
  user.name = UniqueName("owner");
  user.password = "secret-" + user.name;
  const ServiceReply added = Call(admin, "AccountUsers.Add", {{"accountId", account.id}},
                                  "<AccountUser>\n<UserName>" + user.name + "</UserName>\n</AccountUser>\n");
  EXPECT_TRUE(added.Ok()) << Describe(added);
  user.id = added.FieldText("AccountUser", "Id").value_or("");
  EXPECT_TRUE(Call(admin, "AccountUsers.SetPassword", {{"userId", user.id}},
                   "<SetPasswordRequest>\n  <Password>" + user.password + "</Password>\n</SetPasswordRequest>\n")
                  .Ok());
  EXPECT_TRUE(Call(admin, "Roles.Add", {{"userId", user.id}, {"role", "AccountAdmin"}}).Ok());
  user.token = client_.Login(user.name, user.password);
  return account;
}

}  // namespace velinst::service::test
