// The administrative record service over HTTP: who may see which account,
// and the record groups' refusals.
#include <gtest/gtest.h>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

TEST_F(ServiceTest, AccountAdministratorsStayInTheirAccount) {
  const NewAccount mine = CreateAccount();
  const NewAccount other = CreateAccount();
  const NewUser outsider = Register();
  const std::string token = mine.admin.token;
  const struct {
    std::string token;
    const char* method;
    Parameters parameters;
    const char* type;
  } cases[] = {
      {token, "Accounts.GetById", {{"id", other.id}}, "NotAuthorizedException"},
      {token, "Accounts.GetByProductId", {{"productId", other.productId}}, "NotAuthorizedException"},
      {token, "AccountUsers.Get", {{"accountId", other.id}}, "NotAuthorizedException"},
      {token, "AccountUsers.GetById", {{"id", other.admin.id}}, "NotAuthorizedException"},
      {token, "Roles.Add", {{"userId", outsider.id}, {"role", "AccountAdmin"}}, "NotAuthorizedException"},
      {token, "Accounts.Create", {{"users", "1"}, {"productId", "x"}, {"sku", "x"}}, "NotAuthorizedException"},
      {outsider.token, "Accounts.Get", {}, "NotAuthorizedException"},
      {token, "Accounts.GetById", {{"id", "99999999"}}, "RecordNotFoundException"},
      {outsider.token, "Accounts.Find", {}, "RecordNotFoundException"},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(c.token, c.method, c.parameters, "<Account/>"), c.type) << c.method;
  EXPECT_EQ(Call(token, "Accounts.Find").FieldText("Account", "Id"), mine.id);
}

TEST_F(ServiceTest, RecordsRefuseBadFieldsAndDuplicates) {
  const std::string admin = client_.AdminToken();
  const NewAccount account = CreateAccount();
  const std::string reseller = Call(admin, "Resellers.Add", {}, "<Reseller><Name>Shop</Name></Reseller>")
                                   .FieldText("Reseller", "Id")
                                   .value_or("");
  const Parameters inAccount = {{"accountId", account.id}};
  ASSERT_TRUE(Call(account.admin.token, "Teams.Add", inAccount, "<Team><Name>Rangers</Name></Team>").Ok());
  const struct {
    std::string token;
    const char* method;
    Parameters parameters;
    std::string body;
    const char* type;
  } cases[] = {
      {Register().token, "Resellers.Update", {{"id", reseller}}, "<Reseller/>", "NotAuthorizedException"},
      {admin,
       "Resellers.Update",
       {{"id", reseller}},
       "<Reseller><Phone>call us</Phone></Reseller>",
       "PhoneNumberFormatException"},
      {admin,
       "Resellers.Update",
       {{"id", reseller}},
       "<Reseller><Lat>91</Lat></Reseller>",
       "ParameterOutOfRangeException"},
      {admin, "Teams.Add", inAccount, "<Team><Name>rangers</Name></Team>", "DuplicateValueException"},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(c.token, c.method, c.parameters, c.body), c.type) << c.body;
  const ServiceReply updated =
      Call(admin, "Resellers.Update", {{"id", reseller}}, "<Reseller><Website>a?b=1&amp;c</Website></Reseller>");
  EXPECT_EQ(updated.FieldText("Reseller", "Name"), "Shop");  // fields left out stay
  EXPECT_EQ(updated.FieldText("Reseller", "Website"), "a?b=1&amp;c");
}

}  // namespace
}  // namespace velinst::service::test
