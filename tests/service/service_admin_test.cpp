// The administrative record service over HTTP: accounts, their users,
// roles, privileges and features, teams and members, resellers, live
// tracking and storage credentials.
#include <gtest/gtest.h>

#include <map>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

std::vector<std::string> ChildNames(const AnswerNode* node) {
  std::vector<std::string> names;
  if (node != nullptr)
    for (const AnswerNode& child : node->children) names.push_back(child.name);
  return names;
}

const std::vector<std::string> kAccountFields = {"Id",    "Name", "Address1",    "Address2",     "City",
                                                 "State", "Zip",  "ContactName", "ContactEmail", "ContactPhone"};
const std::vector<std::string> kUserFields = {"Id",    "FirstName", "LastName",          "UserName",
                                              "Email", "Phone",     "ReceiveNewsletter", "ReceiveUpdates"};

TEST_F(ServiceTest, CreateUserAccountFlowOfTheInstaller) {
  const std::string admin = client_.AdminToken();
  ASSERT_FALSE(admin.empty());
  const std::string product = UniqueName("RAP-");
  const ServiceReply created = client_.Call(
      "Accounts.Create", {{"authToken", admin}, {"users", "1"}, {"productId", product}, {"sku", "BASESUBSCRIPTION"}},
      Sealing::kPlain,
      "<Account>\n  <!-- <Id>0</Id> -->\n  <Name>Smith &amp; Sons</Name>\n  <Address1>1 Main St</Address1>\n"
      "  <Address2></Address2>\n  <City>Bozeman</City>\n  <State>MT</State>\n  <Zip>59715</Zip>\n"
      "  <ContactName>Ann Smith</ContactName>\n  <ContactEmail>ann@smith.example</ContactEmail>\n"
      "  <ContactPhone>+1 406 555 0100</ContactPhone>\n</Account>\n");
  ASSERT_TRUE(WellFormedAnswer(created));
  ASSERT_TRUE(created.Ok()) << created.body;
  const AnswerNode* account = created.Element("Account");
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(ChildNames(account), kAccountFields);
  EXPECT_EQ(account->ChildText("Name"), "Smith &amp; Sons");
  EXPECT_EQ(account->ChildText("ContactPhone"), "+1 406 555 0100");
  const std::string accountId = *account->ChildText("Id");

  const std::string userName = UniqueName("ann");
  EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", userName}}).Text("Exists"), "False");
  const ServiceReply added = client_.Call(
      "AccountUsers.Add", {{"authToken", admin}, {"accountId", accountId}}, Sealing::kPlain,
      "<AccountUser>\n<!-- <Id>0</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>Smith</LastName>\n<UserName>" +
          userName + "</UserName>\n<Email>" + userName +
          "@smith.example</Email>\n<Phone></Phone>\n<ReceiveNewsletter>false</ReceiveNewsletter>\n"
          "<ReceiveUpdates>TRUE</ReceiveUpdates>\n</AccountUser>\n");
  ASSERT_TRUE(added.Ok()) << added.body;
  EXPECT_EQ(ChildNames(added.Element("AccountUser")), kUserFields);
  EXPECT_EQ(added.FieldText("AccountUser", "ReceiveUpdates"), "true");
  const std::string userId = *added.FieldText("AccountUser", "Id");

  EXPECT_TRUE(client_
                  .Call("AccountUsers.SetPassword", {{"authToken", admin}, {"userId", userId}}, Sealing::kPlain,
                        "<SetPasswordRequest>\n  <Password>s3cret&amp;pw</Password>\n</SetPasswordRequest>\n")
                  .Ok());
  EXPECT_TRUE(client_.Call("Roles.Add", {{"authToken", admin}, {"userId", userId}, {"role", "AccountAdmin"}}).Ok());
  const std::string token = client_.Login(userName, "s3cret&amp;pw");
  ASSERT_FALSE(token.empty());

  // The new administrator reads its account back, as the facade's exports do.
  const ServiceReply found = client_.Call("Accounts.GetByProductId", {{"authToken", token}, {"productId", product}});
  ASSERT_TRUE(found.Ok()) << found.body;
  EXPECT_EQ(found.FieldText("Account", "ContactName"), "Ann Smith");
  const ServiceReply users = client_.Call("AccountUsers.Get", {{"authToken", token}, {"accountId", accountId}});
  ASSERT_NE(users.Element("AccountUsers"), nullptr) << users.body;
  ASSERT_EQ(users.Count("AccountUsers"), 1u);
  EXPECT_EQ(users.Required("AccountUsers").children.at(0).ChildText("Id"), userId);
  EXPECT_EQ(client_.Call("Roles.Get", {{"authToken", token}, {"userId", userId}}).FieldText("Roles", "string"),
            "AccountAdmin");

  // SetUserInfo: the record back with new details.
  const ServiceReply updated =
      client_.Call("AccountUsers.Update", {{"authToken", token}, {"id", userId}}, Sealing::kPlain,
                   "<AccountUser>\n<FirstName>Anne</FirstName>\n<LastName>Smith</LastName>\n<UserName>" + userName +
                       "</UserName>\n<Email></Email>\n<Phone></Phone>\n<ReceiveNewsletter>true</ReceiveNewsletter>\n"
                       "<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");
  ASSERT_TRUE(updated.Ok()) << updated.body;
  EXPECT_EQ(updated.FieldText("AccountUser", "FirstName"), "Anne");
  EXPECT_EQ(updated.FieldText("AccountUser", "Email"), "");

  // One seat only; the product id is the account's alone.
  EXPECT_EQ(client_
                .Call("AccountUsers.Add", {{"authToken", admin}, {"accountId", accountId}}, Sealing::kPlain,
                      "<AccountUser><UserName>" + UniqueName("second") + "</UserName></AccountUser>")
                .ErrorType(),
            "ParameterOutOfRangeException");
  EXPECT_EQ(client_
                .Call("Accounts.Create",
                      {{"authToken", admin}, {"users", "1"}, {"productId", product}, {"sku", "BASESUBSCRIPTION"}},
                      Sealing::kPlain, "<Account/>")
                .ErrorType(),
            "DuplicateValueException");
}

TEST_F(ServiceTest, AccountAdministratorsStayInTheirAccount) {
  const NewAccount mine = CreateAccount();
  const NewAccount other = CreateAccount();
  const NewUser outsider = Register();
  const std::string token = mine.admin.token;
  struct Case {
    const char* method;
    Parameters parameters;
    const char* type;
  } cases[] = {
      {"Accounts.GetById", {{"authToken", token}, {"id", other.id}}, "NotAuthorizedException"},
      {"Accounts.GetByProductId", {{"authToken", token}, {"productId", other.productId}}, "NotAuthorizedException"},
      {"AccountUsers.Get", {{"authToken", token}, {"accountId", other.id}}, "NotAuthorizedException"},
      {"AccountUsers.GetById", {{"authToken", token}, {"id", other.admin.id}}, "NotAuthorizedException"},
      {"Roles.Add",
       {{"authToken", token}, {"userId", outsider.id}, {"role", "AccountAdmin"}},
       "NotAuthorizedException"},
      {"Accounts.Create",
       {{"authToken", token}, {"users", "1"}, {"productId", "x"}, {"sku", "x"}},
       "NotAuthorizedException"},
      {"Accounts.Get", {{"authToken", outsider.token}}, "NotAuthorizedException"},
      {"Accounts.GetById", {{"authToken", token}, {"id", "99999999"}}, "RecordNotFoundException"},
      {"Accounts.GetByProductId", {{"authToken", token}, {"productId", "no-such-product"}}, "RecordNotFoundException"},
      {"Accounts.Find", {{"authToken", outsider.token}}, "RecordNotFoundException"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(client_.Call(c.method, c.parameters, Sealing::kPlain, "<Account/>").ErrorType(), c.type) << c.method;

  const ServiceReply own = client_.Call("Accounts.Get", {{"authToken", token}});
  ASSERT_NE(own.Element("Accounts"), nullptr) << own.body;
  ASSERT_EQ(own.Count("Accounts"), 1u);
  EXPECT_EQ(own.Required("Accounts").children.at(0).ChildText("Id"), mine.id);
  EXPECT_EQ(client_.Call("Accounts.Find", {{"authToken", token}}).FieldText("Account", "Id"), mine.id);
}

TEST_F(ServiceTest, AccountsAddUpdateRemove) {
  const std::string admin = client_.AdminToken();
  const ServiceReply added = client_.Call("Accounts.Add", {{"authToken", admin}}, Sealing::kPlain,
                                          "<Account><Name>Plain</Name><City>Helena</City></Account>");
  ASSERT_TRUE(added.Ok()) << added.body;
  const std::string id = *added.FieldText("Account", "Id");
  const ServiceReply updated = client_.Call("Accounts.Update", {{"authToken", admin}, {"id", id}}, Sealing::kPlain,
                                            "<Account><Name>Renamed</Name></Account>");
  EXPECT_EQ(updated.FieldText("Account", "Name"), "Renamed");
  EXPECT_EQ(updated.FieldText("Account", "City"), "Helena");  // fields left out stay
  const ServiceReply removed = client_.Call("Accounts.Remove", {{"authToken", admin}, {"id", id}});
  EXPECT_EQ(removed.FieldText("Account", "Name"), "Renamed");  // the account as it was
  EXPECT_EQ(client_.Call("Accounts.GetById", {{"authToken", admin}, {"id", id}}).ErrorType(),
            "RecordNotFoundException");
}

TEST_F(ServiceTest, TransferAndRemoveUsers) {
  const std::string admin = client_.AdminToken();
  const NewAccount account = CreateAccount();
  const NewUser consumer = Register();
  EXPECT_TRUE(
      client_.Call("AccountUsers.Transfer", {{"authToken", admin}, {"userId", consumer.id}, {"accountId", account.id}})
          .Ok());
  const ServiceReply users =
      client_.Call("AccountUsers.Get", {{"authToken", account.admin.token}, {"accountId", account.id}});
  EXPECT_EQ(users.Count("AccountUsers"), 2u);
  EXPECT_TRUE(client_.Call("AccountUsers.Remove", {{"authToken", account.admin.token}, {"id", consumer.id}}).Ok());
  EXPECT_EQ(client_.Call("AccountUsers.GetById", {{"authToken", admin}, {"id", consumer.id}}).ErrorType(),
            "RecordNotFoundException");
  EXPECT_EQ(client_.Call("Trip.GetTripList", {{"authToken", consumer.token}}).ErrorType(), "InvalidAuthTokenException");
}

TEST_F(ServiceTest, PrivilegesGiveTheAccountFeatures) {
  const NewAccount account = CreateAccount();
  const std::string token = account.admin.token;
  for (const char* privilege : {"Maps.Topo", "Maps.Layers=12", "Sync.Enabled"})
    EXPECT_TRUE(client_
                    .Call("Privileges.Add",
                          {{"authToken", token}, {"userId", account.admin.id}, {"privilege", privilege}},
                          Sealing::kPlain, "\n")
                    .Ok());
  const ServiceReply privileges = client_.Call("Privileges.Get", {{"authToken", token}, {"userId", account.admin.id}});
  EXPECT_EQ(privileges.Count("Privileges"), 3u);
  EXPECT_TRUE(client_
                  .Call("Privileges.Remove",
                        {{"authToken", token}, {"userId", account.admin.id}, {"privilege", "Sync.Enabled"}})
                  .Ok());

  const ServiceReply features =
      client_.Call("Authz.GetFeatures", {{"authToken", token}, {"accountId", account.id}, {"component", "maps"}});
  ASSERT_TRUE(features.Ok()) << features.body;
  std::map<std::string, std::string> found;
  for (const AnswerNode& feature : features.Required("Features").children) {
    EXPECT_EQ(feature.name, "Feature");
    found[*feature.ChildText("Name")] = *feature.ChildText("Value");
  }
  EXPECT_EQ(found, (std::map<std::string, std::string>{
                       {"Subscription", "BASESUBSCRIPTION"}, {"Users", "3"}, {"Topo", "true"}, {"Layers", "12"}}));
}

TEST_F(ServiceTest, TeamsAndMembers) {
  const NewAccount account = CreateAccount();
  const std::string token = account.admin.token;
  const ServiceReply team =
      client_.Call("Teams.Add", {{"authToken", token}, {"accountId", account.id}}, Sealing::kPlain,
                   "<Team>\n  <!-- <Id>0</Id> -->\n  <Name>Rangers</Name>\n</Team>\n");
  ASSERT_TRUE(team.Ok()) << team.body;
  EXPECT_EQ(ChildNames(team.Element("Team")), (std::vector<std::string>{"Id", "Name"}));
  const std::string teamId = *team.FieldText("Team", "Id");
  EXPECT_EQ(client_
                .Call("Teams.Add", {{"authToken", token}, {"accountId", account.id}}, Sealing::kPlain,
                      "<Team><Name>rangers</Name></Team>")
                .ErrorType(),
            "DuplicateValueException");

  const ServiceReply member =
      client_.Call("TeamMembers.Add", {{"authToken", token}, {"teamId", teamId}}, Sealing::kPlain,
                   "<TeamMember>\n  <UserId>" + account.admin.id + "</UserId>\n  <Role>Leader</Role>\n</TeamMember>\n");
  ASSERT_TRUE(member.Ok()) << member.body;
  EXPECT_EQ(ChildNames(member.Element("TeamMember")), (std::vector<std::string>{"UserId", "Role"}));
  const NewUser outsider = Register();
  EXPECT_EQ(client_
                .Call("TeamMembers.Add", {{"authToken", token}, {"teamId", teamId}}, Sealing::kPlain,
                      "<TeamMember><UserId>" + outsider.id + "</UserId></TeamMember>")
                .ErrorType(),
            "ParameterException");
  EXPECT_EQ(client_
                .Call("TeamMembers.Update", {{"authToken", token}, {"userId", account.admin.id}}, Sealing::kPlain,
                      "<TeamMember><UserId>" + account.admin.id + "</UserId><Role>Guide</Role></TeamMember>")
                .FieldText("TeamMember", "Role"),
            "Guide");
  EXPECT_EQ(client_.Call("TeamMembers.Get", {{"authToken", token}, {"teamId", teamId}}).Count("TeamMembers"), 1u);
  EXPECT_EQ(client_.Call("AccountUsers.GetByTeamId", {{"authToken", token}, {"teamId", teamId}}).Count("AccountUsers"),
            1u);
  EXPECT_EQ(client_.Call("Teams.Find", {{"authToken", token}}).Count("Teams"), 1u);
  EXPECT_EQ(client_.Call("Teams.Get", {{"authToken", token}, {"accountId", account.id}}).Count("Teams"), 1u);
  EXPECT_EQ(client_
                .Call("Teams.Update", {{"authToken", token}, {"id", teamId}}, Sealing::kPlain,
                      "<Team><Name>Scouts</Name></Team>")
                .FieldText("Team", "Name"),
            "Scouts");
  EXPECT_EQ(client_.Call("Teams.GetById", {{"authToken", outsider.token}, {"id", teamId}}).ErrorType(),
            "NotAuthorizedException");

  // Live tracking within the team.
  EXPECT_TRUE(
      client_
          .Call("LiveTracking.Update", {{"authToken", token}}, Sealing::kPlain,
                "<LiveTrackingPosition>\n  <Lat>45.500000</Lat>\n  <Lon>-110.250000</Lon>\n  <Ele>1500.000000</Ele>\n"
                "  <DeviceTimeUtc>2024-05-01T10:00:00Z</DeviceTimeUtc>\n  <Message>on &amp; on</Message>\n"
                "  <MessageType>Info</MessageType>\n  <Properties></Properties>\n</LiveTrackingPosition>\n")
          .Ok());
  const ServiceReply tracked = client_.Call("LiveTracking.Get", {{"authToken", token}, {"teamId", teamId}});
  ASSERT_TRUE(tracked.Ok()) << tracked.body;
  const AnswerNode* gpx = tracked.Element("gpx");
  ASSERT_NE(gpx, nullptr);
  ASSERT_EQ(gpx->children.size(), 1u);
  EXPECT_EQ(gpx->children[0].Attribute("lat"), "45.500000");
  EXPECT_EQ(gpx->children[0].ChildText("name"), account.admin.name);
  EXPECT_EQ(gpx->children[0].ChildText("desc"), "on &amp; on");
  EXPECT_EQ(client_.Call("LiveTracking.Get", {{"authToken", token}, {"userId", account.admin.id + "," + outsider.id}})
                .ErrorType(),
            "NotAuthorizedException");
  EXPECT_EQ(client_.Call("LiveTracking.Get", {{"authToken", token}}).ErrorType(), "MissingParameterException");

  EXPECT_TRUE(
      client_.Call("TeamMembers.Remove", {{"authToken", token}, {"teamId", teamId}, {"userId", account.admin.id}})
          .Ok());
  EXPECT_EQ(client_.Call("TeamMembers.Remove", {{"authToken", token}, {"teamId", teamId}, {"userId", account.admin.id}})
                .ErrorType(),
            "RecordNotFoundException");
  EXPECT_TRUE(client_.Call("Teams.Remove", {{"authToken", token}, {"id", teamId}}).Ok());
}

TEST_F(ServiceTest, ResellersAndContacts) {
  const std::string admin = client_.AdminToken();
  const ServiceReply added = client_.Call("Resellers.Add", {{"authToken", admin}}, Sealing::kPlain,
                                          "<Reseller>\n  <!-- <Id>0</Id> -->\n  <Name>Trail Shop</Name>\n  "
                                          "<Website>http://shop.example/?a=1&amp;b=2</Website>\n"
                                          "  <Phone>406-555-0101</Phone>\n  <Lat>47.500000</Lat>\n  "
                                          "<Lon>-111.300000</Lon>\n  <Type>Dealer</Type>\n</Reseller>\n");
  ASSERT_TRUE(added.Ok()) << added.body;
  const AnswerNode* reseller = added.Element("Reseller");
  EXPECT_EQ(ChildNames(reseller), (std::vector<std::string>{"Id", "Name", "Address1", "Address2", "City", "State",
                                                            "Zip", "Website", "Phone", "Fax", "Lat", "Lon", "Type"}));
  EXPECT_EQ(reseller->ChildText("Lat"), "47.500000");
  EXPECT_EQ(reseller->ChildText("Website"), "http://shop.example/?a=1&amp;b=2");
  const std::string id = *reseller->ChildText("Id");

  const ServiceReply contact =
      client_.Call("ResellerContacts.Add", {{"authToken", admin}, {"resellerId", id}}, Sealing::kPlain,
                   "<ResellerContact>\n  <Id>0</Id>\n  <Name>Bo</Name>\n  <Phone>555 0102</Phone>\n  "
                   "<Email>bo@shop.example</Email>\n"
                   "  <Type>Sales</Type>\n</ResellerContact>\n");
  ASSERT_TRUE(contact.Ok()) << contact.body;
  EXPECT_EQ(ChildNames(contact.Element("ResellerContact")),
            (std::vector<std::string>{"Id", "Name", "Phone", "Email", "Type"}));
  EXPECT_NE(contact.FieldText("ResellerContact", "Id"), "0");  // the service's id, not the sender's

  // Anyone reads them; only administrators change them.
  EXPECT_EQ(client_.Call("ResellerContacts.Get", {{"resellerId", id}}).Count("ResellerContacts"), 1u);
  EXPECT_TRUE(client_.Call("Resellers.GetById", {{"id", id}}).Ok());
  const ServiceReply resellers = client_.Call("Resellers.Get", {});
  EXPECT_NE(resellers.Element("Resellers"), nullptr) << resellers.body;
  const NewUser user = Register();
  EXPECT_EQ(client_.Call("Resellers.Update", {{"authToken", user.token}, {"id", id}}, Sealing::kPlain, "<Reseller/>")
                .ErrorType(),
            "NotAuthorizedException");
  EXPECT_EQ(client_
                .Call("Resellers.Update", {{"authToken", admin}, {"id", id}}, Sealing::kPlain,
                      "<Reseller><Phone>call us</Phone></Reseller>")
                .ErrorType(),
            "PhoneNumberFormatException");
  EXPECT_EQ(client_
                .Call("Resellers.Update", {{"authToken", admin}, {"id", id}}, Sealing::kPlain,
                      "<Reseller><Lat>91</Lat></Reseller>")
                .ErrorType(),
            "ParameterOutOfRangeException");
  EXPECT_TRUE(client_.Call("Resellers.Remove", {{"authToken", admin}, {"id", id}}).Ok());
  EXPECT_EQ(client_.Call("ResellerContacts.Get", {{"resellerId", id}}).ErrorType(), "RecordNotFoundException");
}

TEST_F(ServiceTest, TemporaryStorageCredentials) {
  const NewUser user = Register();
  const ServiceReply reply = client_.Call("S3.GetTemporaryCredentials", {{"authToken", user.token}});
  ASSERT_TRUE(reply.Ok()) << reply.body;
  EXPECT_EQ(ChildNames(reply.Element("Credentials")),
            (std::vector<std::string>{"AccessKeyId", "SecretAccessKey", "SessionToken", "Expiration"}));
  EXPECT_EQ(reply.FieldText("Credentials", "AccessKeyId").value_or("").substr(0, 4), "ASIA");
}

}  // namespace
}  // namespace velinst::service::test
