// The administrative record service over HTTP: accounts, their users,
// roles, privileges and features, teams and members, resellers, live
// tracking and storage credentials.
#include <gtest/gtest.h>

#include <map>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

using Names = std::vector<std::string>;

Names ChildNames(const AnswerNode* node) {
  Names names;
  if (node != nullptr)
    for (const AnswerNode& child : node->children) names.push_back(child.name);
  return names;
}

TEST_F(ServiceTest, CreateUserAccountFlowOfTheInstaller) {
  const std::string admin = client_.AdminToken();
  ASSERT_FALSE(admin.empty());
  const std::string product = UniqueName("RAP-");
  const Parameters create = {{"users", "1"}, {"productId", product}, {"sku", "BASESUBSCRIPTION"}};
  const ServiceReply created =
      Call(admin, "Accounts.Create", create,
           "<Account>\n  <!-- <Id>0</Id> -->\n  <Name>Smith &amp; Sons</Name>\n  <Address1>1 Main St</Address1>\n"
           "  <Address2></Address2>\n  <City>Bozeman</City>\n  <State>MT</State>\n  <Zip>59715</Zip>\n"
           "  <ContactName>Ann Smith</ContactName>\n  <ContactEmail>ann@smith.example</ContactEmail>\n"
           "  <ContactPhone>+1 406 555 0100</ContactPhone>\n</Account>\n");
  ASSERT_TRUE(WellFormedAnswer(created));
  ASSERT_TRUE(created.Ok()) << created.body;
  const AnswerNode& account = created.Required("Account");
  EXPECT_EQ(ChildNames(&account), (Names{"Id", "Name", "Address1", "Address2", "City", "State", "Zip", "ContactName",
                                         "ContactEmail", "ContactPhone"}));
  EXPECT_EQ(account.ChildText("Name"), "Smith &amp; Sons");
  EXPECT_EQ(account.ChildText("ContactPhone"), "+1 406 555 0100");
  const std::string accountId = *account.ChildText("Id");

  const std::string userName = UniqueName("ann");
  EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", userName}}).Text("Exists"), "False");
  const ServiceReply added =
      Call(admin, "AccountUsers.Add", {{"accountId", accountId}},
           "<AccountUser>\n<!-- <Id>0</Id> -->\n<FirstName>Ann</FirstName>\n<LastName>Smith</LastName>\n<UserName>" +
               userName + "</UserName>\n<Email>" + userName +
               "@smith.example</Email>\n<Phone></Phone>\n<ReceiveNewsletter>false</ReceiveNewsletter>\n"
               "<ReceiveUpdates>TRUE</ReceiveUpdates>\n</AccountUser>\n");
  ASSERT_TRUE(added.Ok()) << added.body;
  EXPECT_EQ(ChildNames(added.Element("AccountUser")), (Names{"Id", "FirstName", "LastName", "UserName", "Email",
                                                             "Phone", "ReceiveNewsletter", "ReceiveUpdates"}));
  EXPECT_EQ(added.FieldText("AccountUser", "ReceiveUpdates"), "true");
  const std::string userId = *added.FieldText("AccountUser", "Id");

  EXPECT_TRUE(Call(admin, "AccountUsers.SetPassword", {{"userId", userId}},
                   "<SetPasswordRequest>\n  <Password>s3cret&amp;pw</Password>\n</SetPasswordRequest>\n")
                  .Ok());
  EXPECT_TRUE(Call(admin, "Roles.Add", {{"userId", userId}, {"role", "AccountAdmin"}}).Ok());
  const std::string token = client_.Login(userName, "s3cret&amp;pw");
  ASSERT_FALSE(token.empty());

  // The new administrator reads its account back, as the facade's exports do.
  EXPECT_EQ(Call(token, "Accounts.GetByProductId", {{"productId", product}}).FieldText("Account", "ContactName"),
            "Ann Smith");
  const ServiceReply users = Call(token, "AccountUsers.Get", {{"accountId", accountId}});
  ASSERT_EQ(users.Count("AccountUsers"), 1u) << users.body;
  EXPECT_EQ(users.Required("AccountUsers").children.at(0).ChildText("Id"), userId);
  EXPECT_EQ(Call(token, "Roles.Get", {{"userId", userId}}).FieldText("Roles", "string"), "AccountAdmin");

  // SetUserInfo: the record back with new details.
  const ServiceReply updated =
      Call(token, "AccountUsers.Update", {{"id", userId}},
           "<AccountUser>\n<FirstName>Anne</FirstName>\n<LastName>Smith</LastName>\n<UserName>" + userName +
               "</UserName>\n<Email></Email>\n<Phone></Phone>\n<ReceiveNewsletter>true</ReceiveNewsletter>\n"
               "<ReceiveUpdates>false</ReceiveUpdates>\n</AccountUser>\n");
  EXPECT_EQ(updated.FieldText("AccountUser", "FirstName"), "Anne") << updated.body;
  EXPECT_EQ(updated.FieldText("AccountUser", "Email"), "");

  // One seat only; the product id is the account's alone.
  EXPECT_EQ(Error(admin, "AccountUsers.Add", {{"accountId", accountId}},
                  "<AccountUser><UserName>" + UniqueName("second") + "</UserName></AccountUser>"),
            "ParameterOutOfRangeException");
  EXPECT_EQ(Error(admin, "Accounts.Create", create, "<Account/>"), "DuplicateValueException");
}

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
      {token, "Accounts.GetByProductId", {{"productId", "no-such-product"}}, "RecordNotFoundException"},
      {outsider.token, "Accounts.Find", {}, "RecordNotFoundException"},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(c.token, c.method, c.parameters, "<Account/>"), c.type) << c.method;

  const ServiceReply own = Call(token, "Accounts.Get");
  ASSERT_EQ(own.Count("Accounts"), 1u) << own.body;
  EXPECT_EQ(own.Required("Accounts").children.at(0).ChildText("Id"), mine.id);
  EXPECT_EQ(Call(token, "Accounts.Find").FieldText("Account", "Id"), mine.id);
}

TEST_F(ServiceTest, AccountsAddUpdateRemove) {
  const std::string admin = client_.AdminToken();
  const std::string id = Call(admin, "Accounts.Add", {}, "<Account><Name>Plain</Name><City>Helena</City></Account>")
                             .FieldText("Account", "Id")
                             .value_or("");
  const ServiceReply updated = Call(admin, "Accounts.Update", {{"id", id}}, "<Account><Name>Renamed</Name></Account>");
  EXPECT_EQ(updated.FieldText("Account", "Name"), "Renamed");
  EXPECT_EQ(updated.FieldText("Account", "City"), "Helena");  // fields left out stay
  EXPECT_EQ(Call(admin, "Accounts.Remove", {{"id", id}}).FieldText("Account", "Name"), "Renamed");  // as it was
  EXPECT_EQ(Error(admin, "Accounts.GetById", {{"id", id}}), "RecordNotFoundException");
}

TEST_F(ServiceTest, TransferAndRemoveUsers) {
  const std::string admin = client_.AdminToken();
  const NewAccount account = CreateAccount();
  const NewUser consumer = Register();
  EXPECT_TRUE(Call(admin, "AccountUsers.Transfer", {{"userId", consumer.id}, {"accountId", account.id}}).Ok());
  EXPECT_EQ(Call(account.admin.token, "AccountUsers.Get", {{"accountId", account.id}}).Count("AccountUsers"), 2u);
  EXPECT_TRUE(Call(account.admin.token, "AccountUsers.Remove", {{"id", consumer.id}}).Ok());
  EXPECT_EQ(Error(admin, "AccountUsers.GetById", {{"id", consumer.id}}), "RecordNotFoundException");
  EXPECT_EQ(Error(consumer.token, "Trip.GetTripList"), "InvalidAuthTokenException");
}

TEST_F(ServiceTest, PrivilegesGiveTheAccountFeatures) {
  const NewAccount account = CreateAccount();
  const std::string token = account.admin.token;
  for (const char* privilege : {"Maps.Topo", "Maps.Layers=12", "Sync.Enabled"})
    EXPECT_TRUE(Call(token, "Privileges.Add", {{"userId", account.admin.id}, {"privilege", privilege}}, "\n").Ok());
  EXPECT_EQ(Call(token, "Privileges.Get", {{"userId", account.admin.id}}).Count("Privileges"), 3u);
  EXPECT_TRUE(Call(token, "Privileges.Remove", {{"userId", account.admin.id}, {"privilege", "Sync.Enabled"}}).Ok());

  const ServiceReply features = Call(token, "Authz.GetFeatures", {{"accountId", account.id}, {"component", "maps"}});
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
  const std::string& me = account.admin.id;
  const ServiceReply team = Call(token, "Teams.Add", {{"accountId", account.id}},
                                 "<Team>\n  <!-- <Id>0</Id> -->\n  <Name>Rangers</Name>\n</Team>\n");
  EXPECT_EQ(ChildNames(team.Element("Team")), (Names{"Id", "Name"})) << team.body;
  const std::string teamId = team.FieldText("Team", "Id").value_or("");
  const Parameters inTeam = {{"teamId", teamId}};
  EXPECT_EQ(Error(token, "Teams.Add", {{"accountId", account.id}}, "<Team><Name>rangers</Name></Team>"),
            "DuplicateValueException");

  const ServiceReply member =
      Call(token, "TeamMembers.Add", inTeam,
           "<TeamMember>\n  <UserId>" + me + "</UserId>\n  <Role>Leader</Role>\n</TeamMember>\n");
  EXPECT_EQ(ChildNames(member.Element("TeamMember")), (Names{"UserId", "Role"})) << member.body;
  const NewUser outsider = Register();
  EXPECT_EQ(Error(token, "TeamMembers.Add", inTeam, "<TeamMember><UserId>" + outsider.id + "</UserId></TeamMember>"),
            "ParameterException");
  EXPECT_EQ(Call(token, "TeamMembers.Update", {{"userId", me}},
                 "<TeamMember><UserId>" + me + "</UserId><Role>Guide</Role></TeamMember>")
                .FieldText("TeamMember", "Role"),
            "Guide");
  EXPECT_EQ(Call(token, "TeamMembers.Get", inTeam).Count("TeamMembers"), 1u);
  EXPECT_EQ(Call(token, "AccountUsers.GetByTeamId", inTeam).Count("AccountUsers"), 1u);
  EXPECT_EQ(Call(token, "Teams.Find").Count("Teams"), 1u);
  EXPECT_EQ(Call(token, "Teams.Get", {{"accountId", account.id}}).Count("Teams"), 1u);
  EXPECT_EQ(Call(token, "Teams.Update", {{"id", teamId}}, "<Team><Name>Scouts</Name></Team>").FieldText("Team", "Name"),
            "Scouts");
  EXPECT_EQ(Error(outsider.token, "Teams.GetById", {{"id", teamId}}), "NotAuthorizedException");

  // Live tracking within the team.
  EXPECT_TRUE(
      Call(token, "LiveTracking.Update", {},
           "<LiveTrackingPosition>\n  <Lat>45.500000</Lat>\n  <Lon>-110.250000</Lon>\n  <Ele>1500.000000</Ele>\n"
           "  <DeviceTimeUtc>2024-05-01T10:00:00Z</DeviceTimeUtc>\n  <Message>on &amp; on</Message>\n"
           "  <MessageType>Info</MessageType>\n  <Properties></Properties>\n</LiveTrackingPosition>\n")
          .Ok());
  const ServiceReply tracked = Call(token, "LiveTracking.Get", inTeam);
  ASSERT_EQ(tracked.Count("gpx"), 1u) << tracked.body;
  const AnswerNode& position = tracked.Required("gpx").children[0];
  EXPECT_EQ(position.Attribute("lat"), "45.500000");
  EXPECT_EQ(position.ChildText("name"), account.admin.name);
  EXPECT_EQ(position.ChildText("desc"), "on &amp; on");
  EXPECT_EQ(Error(token, "LiveTracking.Get", {{"userId", me + "," + outsider.id}}), "NotAuthorizedException");
  EXPECT_EQ(Error(token, "LiveTracking.Get"), "MissingParameterException");

  EXPECT_TRUE(Call(token, "TeamMembers.Remove", {{"teamId", teamId}, {"userId", me}}).Ok());
  EXPECT_EQ(Error(token, "TeamMembers.Remove", {{"teamId", teamId}, {"userId", me}}), "RecordNotFoundException");
  EXPECT_TRUE(Call(token, "Teams.Remove", {{"id", teamId}}).Ok());
}

TEST_F(ServiceTest, ResellersAndContacts) {
  const std::string admin = client_.AdminToken();
  const ServiceReply added = Call(admin, "Resellers.Add", {},
                                  "<Reseller>\n  <!-- <Id>0</Id> -->\n  <Name>Trail Shop</Name>\n  "
                                  "<Website>http://shop.example/?a=1&amp;b=2</Website>\n"
                                  "  <Phone>406-555-0101</Phone>\n  <Lat>47.500000</Lat>\n  "
                                  "<Lon>-111.300000</Lon>\n  <Type>Dealer</Type>\n</Reseller>\n");
  const AnswerNode& reseller = added.Required("Reseller");
  EXPECT_EQ(ChildNames(&reseller), (Names{"Id", "Name", "Address1", "Address2", "City", "State", "Zip", "Website",
                                          "Phone", "Fax", "Lat", "Lon", "Type"}));
  EXPECT_EQ(reseller.ChildText("Lat"), "47.500000");
  EXPECT_EQ(reseller.ChildText("Website"), "http://shop.example/?a=1&amp;b=2");
  const std::string id = *reseller.ChildText("Id");

  const ServiceReply contact = Call(admin, "ResellerContacts.Add", {{"resellerId", id}},
                                    "<ResellerContact>\n  <Id>0</Id>\n  <Name>Bo</Name>\n  <Phone>555 0102</Phone>\n  "
                                    "<Email>bo@shop.example</Email>\n  <Type>Sales</Type>\n</ResellerContact>\n");
  EXPECT_EQ(ChildNames(contact.Element("ResellerContact")), (Names{"Id", "Name", "Phone", "Email", "Type"}));
  EXPECT_NE(contact.FieldText("ResellerContact", "Id"), "0");  // the service's id, not the sender's

  // Anyone reads them; only administrators change them.
  EXPECT_EQ(Call("", "ResellerContacts.Get", {{"resellerId", id}}).Count("ResellerContacts"), 1u);
  EXPECT_TRUE(Call("", "Resellers.GetById", {{"id", id}}).Ok());
  EXPECT_TRUE(Call("", "Resellers.Get").Text("Resellers") != "<absent>");
  const struct {
    std::string token;
    const char* body;
    const char* type;
  } refused[] = {
      {Register().token, "<Reseller/>", "NotAuthorizedException"},
      {admin, "<Reseller><Phone>call us</Phone></Reseller>", "PhoneNumberFormatException"},
      {admin, "<Reseller><Lat>91</Lat></Reseller>", "ParameterOutOfRangeException"},
  };
  for (const auto& c : refused) EXPECT_EQ(Error(c.token, "Resellers.Update", {{"id", id}}, c.body), c.type) << c.body;
  EXPECT_TRUE(Call(admin, "Resellers.Remove", {{"id", id}}).Ok());
  EXPECT_EQ(Error("", "ResellerContacts.Get", {{"resellerId", id}}), "RecordNotFoundException");
}

TEST_F(ServiceTest, TemporaryStorageCredentials) {
  const ServiceReply reply = Call(Register().token, "S3.GetTemporaryCredentials");
  EXPECT_EQ(ChildNames(reply.Element("Credentials")),
            (Names{"AccessKeyId", "SecretAccessKey", "SessionToken", "Expiration"}));
  EXPECT_EQ(reply.FieldText("Credentials", "AccessKeyId").value_or("").substr(0, 4), "ASIA");
}

}  // namespace
}  // namespace velinst::service::test
