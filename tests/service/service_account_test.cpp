// The "Account" group over HTTP: sign-in, registration, passwords, profile
// and the availability checks, with their error types.
#include <gtest/gtest.h>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

Parameters RegisterParameters(const std::string& name, const std::string& password, const std::string& email) {
  return {{"username", name},
          {"password", password},
          {"hardwareID", ""},
          {"appVersion", ""},
          {"appName", "HalvardOutdoors"},
          {"emailAddress", email},
          {"weight", "0.000000"},
          {"units", ""}};
}

TEST_F(ServiceTest, RegisterAndLoginAnswerTokenUserWeightAndUnits) {
  const NewUser user = Register();
  EXPECT_EQ(user.token.size(), 48u);
  EXPECT_GT(std::stoi(user.id), 0);

  const ServiceReply login = client_.Call("Account.Login",
                                          {{"username", user.name},
                                           {"password", user.password},
                                           {"hardwareID", ""},
                                           {"appVersion", ""},
                                           {"appName", "HalvardOutdoors"}},
                                          Sealing::kData);
  ASSERT_TRUE(WellFormedAnswer(login));
  ASSERT_TRUE(login.Ok()) << login.body;
  EXPECT_EQ(login.Text("UserID"), user.id);
  EXPECT_EQ(login.Text("Weight"), "72.500000");
  EXPECT_EQ(login.Text("Units"), "metric");
  EXPECT_NE(login.Text("AuthToken"), user.token);  // every sign-in has its own token
}

TEST_F(ServiceTest, AvailabilityChecksIgnoreCase) {
  const NewUser user = Register();
  struct Case {
    const char* method;
    const char* parameter;
    std::string value;
    const char* exists;
  } cases[] = {
      {"Account.UsernameExists", "username", user.name, "True"},
      {"Account.UsernameExists", "username", "X" + user.name, "False"},
      {"Account.EmailAddressExists", "emailAddress", user.email, "True"},
      {"Account.EmailAddressExists", "emailAddress", "nobody@example.org", "False"},
      {"Account.EmailAddressExists", "emailAddress", "", "False"},
      {"Account.DisplayNameExists", "displayName", "", "False"},
  };
  for (const Case& c : cases) {
    const ServiceReply reply = client_.Call(c.method, {{c.parameter, c.value}});
    EXPECT_EQ(reply.Text("Exists"), c.exists) << c.method << " " << c.value;
  }
  std::string upper = user.name;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", upper}}).Text("Exists"), "True");
}

TEST_F(ServiceTest, RegistrationErrors) {
  const NewUser taken = Register();
  const std::string fresh = UniqueName("fresh");
  struct Case {
    Parameters parameters;
    const char* type;
  } cases[] = {
      {RegisterParameters(taken.name, "password", fresh + "@example.org"), "DuplicateUsernameException"},
      {RegisterParameters(fresh, "password", taken.email), "DuplicateEmailAddressException"},
      {RegisterParameters(fresh, "password", "no-at-sign"), "EmailAddressFormatException"},
      {RegisterParameters(fresh, "short", fresh + "@example.org"), "PasswordFormatException"},
      {RegisterParameters("", "password", fresh + "@example.org"), "UsernameFormatException"},
      {{{"username", fresh}, {"password", "password"}}, "MissingParameterException"},
  };
  for (const Case& c : cases) {
    const ServiceReply reply = client_.Call("Account.Register", c.parameters, Sealing::kData);
    EXPECT_TRUE(WellFormedAnswer(reply));
    EXPECT_EQ(reply.ErrorType(), c.type) << reply.body;
  }
  EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", fresh}}).Text("Exists"), "False");
}

TEST_F(ServiceTest, LoginErrors) {
  const NewUser user = Register();
  struct Case {
    std::string name;
    std::string password;
    const char* type;
  } cases[] = {
      {user.name, "wrong-password", "IncorrectPasswordException"},
      {"no-such-" + user.name, user.password, "InvalidCredentialsException"},
      {user.name, "", "IncorrectPasswordException"},
  };
  for (const Case& c : cases) {
    const ServiceReply reply =
        client_.Call("Account.Login", {{"username", c.name}, {"password", c.password}}, Sealing::kData);
    EXPECT_EQ(reply.ErrorType(), c.type) << reply.body;
  }
}

TEST_F(ServiceTest, ChangePasswordNeedsTheOldOne) {
  const NewUser user = Register();
  EXPECT_EQ(client_
                .Call("Account.ChangePassword",
                      {{"authToken", user.token}, {"oldPassword", "wrong-one"}, {"newPassword", "new-password"}},
                      Sealing::kData)
                .ErrorType(),
            "IncorrectPasswordException");
  EXPECT_EQ(
      client_
          .Call("Account.ChangePassword",
                {{"authToken", user.token}, {"oldPassword", user.password}, {"newPassword", "new"}}, Sealing::kData)
          .ErrorType(),
      "PasswordFormatException");
  EXPECT_TRUE(client_
                  .Call("Account.ChangePassword",
                        {{"authToken", user.token}, {"oldPassword", user.password}, {"newPassword", "new-password"}},
                        Sealing::kData)
                  .Ok());
  EXPECT_TRUE(client_.Login(user.name, user.password).empty());
  EXPECT_FALSE(client_.Login(user.name, "new-password").empty());
}

TEST_F(ServiceTest, ResetPasswordKnowsTheAddress) {
  const NewUser user = Register();
  EXPECT_TRUE(
      client_.Call("Account.ResetPassword", {{"emailAddress", user.email}, {"forceChangeOnNextLogin", "true"}}).Ok());
  EXPECT_EQ(
      client_.Call("Account.ResetPassword", {{"emailAddress", "x" + user.email}, {"forceChangeOnNextLogin", "false"}})
          .ErrorType(),
      "RecordNotFoundException");
  EXPECT_EQ(client_.Call("Account.ResetPassword", {{"emailAddress", user.email}, {"forceChangeOnNextLogin", "maybe"}})
                .ErrorType(),
            "ParameterException");
}

TEST_F(ServiceTest, UpdateChangesProfileAndGuardsDisplayNames) {
  const NewUser first = Register();
  const NewUser second = Register();
  const std::string display = UniqueName("Shown");
  EXPECT_TRUE(client_
                  .Call("Account.Update", {{"authToken", first.token},
                                           {"displayName", display},
                                           {"emailAddress", ""},
                                           {"weight", "80.250000"},
                                           {"units", "lbs"}})
                  .Ok());
  EXPECT_EQ(client_.Call("Account.DisplayNameExists", {{"displayName", display}}).Text("Exists"), "True");
  EXPECT_EQ(
      client_.Call("Account.Update", {{"authToken", second.token}, {"displayName", display}, {"emailAddress", ""}})
          .ErrorType(),
      "DuplicateDisplayNameException");
  EXPECT_EQ(
      client_.Call("Account.Update", {{"authToken", second.token}, {"displayName", ""}, {"emailAddress", first.email}})
          .ErrorType(),
      "DuplicateEmailAddressException");
  const ServiceReply login =
      client_.Call("Account.Login", {{"username", first.name}, {"password", first.password}}, Sealing::kData);
  EXPECT_EQ(login.Text("Weight"), "80.250000");
  EXPECT_EQ(login.Text("Units"), "lbs");
}

// A password changed to a different one ends the user's other tokens; the
// token of the change itself, and every token when the password stays the
// same, go on working.
TEST_F(ServiceTest, ADifferentPasswordEndsTheUsersOtherTokens) {
  const NewUser user = Register();
  const std::string admin = client_.AdminToken();
  const auto works = [&](const std::string& token) {
    return client_.Call("AccountUsers.GetById", {{"authToken", token}, {"id", user.id}}).Ok();
  };
  const auto setPassword = [&](const std::string& password) {
    return client_
        .Call("AccountUsers.SetPassword", {{"authToken", admin}, {"userId", user.id}}, Sealing::kPlain,
              "<SetPasswordRequest><Password>" + password + "</Password></SetPasswordRequest>")
        .Ok();
  };
  const std::string second = client_.Login(user.name, user.password);
  ASSERT_TRUE(setPassword(user.password));
  EXPECT_TRUE(works(user.token));
  EXPECT_TRUE(works(second));

  ASSERT_TRUE(client_
                  .Call("Account.ChangePassword",
                        {{"authToken", user.token}, {"oldPassword", user.password}, {"newPassword", "changed-1"}},
                        Sealing::kData)
                  .Ok());
  EXPECT_TRUE(works(user.token));
  EXPECT_EQ(client_.Call("AccountUsers.GetById", {{"authToken", second}, {"id", user.id}}).ErrorType(),
            "InvalidAuthTokenException");

  ASSERT_TRUE(setPassword("changed-2 &amp; more"));
  EXPECT_FALSE(works(user.token));
  EXPECT_TRUE(works(admin));
  EXPECT_FALSE(client_.Login(user.name, "changed-2 &amp; more").empty());
}

// Texts travel XML-escaped. The service keeps them so and escapes once more
// on the way out, so a client's own unescaping gives the caller's text.
TEST_F(ServiceTest, EscapedTextsComeBackAsTheyWereSent) {
  const std::string name = UniqueName("tom") + "&amp;jerry";
  const std::string password = "p&amp;ss&lt;word";
  const ServiceReply registered = client_.Call(
      "Account.Register", RegisterParameters(name, password, UniqueName("tj") + "@example.org"), Sealing::kData);
  ASSERT_TRUE(registered.Ok()) << registered.body;
  EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", name}}).Text("Exists"), "True");
  EXPECT_FALSE(client_.Login(name, password).empty());
  EXPECT_TRUE(client_.Login(name, "p&ss<word").empty());

  const std::string display = UniqueName("Tom") + "&amp;Jerry&quot;TJ&quot;";
  EXPECT_TRUE(client_
                  .Call("Account.Update",
                        {{"authToken", registered.Text("AuthToken")}, {"displayName", display}, {"emailAddress", ""}})
                  .Ok());
  EXPECT_EQ(client_.Call("Account.DisplayNameExists", {{"displayName", display}}).Text("Exists"), "True");

  // The user's record: the stored text goes out escaped once more.
  const std::string admin = client_.AdminToken();
  const ServiceReply record =
      client_.Call("AccountUsers.GetById", {{"authToken", admin}, {"id", registered.Text("UserID")}});
  ASSERT_TRUE(record.Ok()) << record.body;
  EXPECT_EQ(record.FieldText("AccountUser", "UserName"), name);
  EXPECT_NE(record.body.find("&amp;amp;jerry"), std::string::npos) << record.body;
}

// The library percent-encodes values before it seals them, as it does in a
// plain query: what a sign-in seals must meet what a document or a plain
// query stored.
TEST_F(ServiceTest, SealedCredentialsAreDecodedAsAPlainQueryIs) {
  struct Case {
    std::string stored;  // escaped, as a document carries it
    std::string sent;    // the same, percent-encoded as the library sends it
  } cases[] = {
      {"two words", "two%20words"},
      {"a+b+c+d1", "a%2bb%2bc%2bd1"},
      {"pa&amp;ss-word1", "pa%26amp;ss-word1"},
      {"%41=&lt;&gt;&quot;&apos;#", "%2541%3d%26lt;%26gt;%26quot;%26apos;%23"},
  };
  const std::string admin = client_.AdminToken();
  for (const Case& c : cases) {
    const NewAccount account = CreateAccount();
    const std::string base = UniqueName("u");
    const std::string name = base + " " + c.stored;
    const ServiceReply added =
        client_.Call("AccountUsers.Add", {{"authToken", admin}, {"accountId", account.id}}, Sealing::kPlain,
                     "<AccountUser><UserName>" + name + "</UserName></AccountUser>");
    ASSERT_TRUE(added.Ok()) << c.sent << ": " << Describe(added);
    const std::string id = added.FieldText("AccountUser", "Id").value_or("");
    ASSERT_TRUE(client_
                    .Call("AccountUsers.SetPassword", {{"authToken", admin}, {"userId", id}}, Sealing::kPlain,
                          "<SetPasswordRequest><Password>" + c.stored + "</Password></SetPasswordRequest>")
                    .Ok())
        << c.sent;
    const ServiceReply login =
        client_.Call("Account.Login", {{"username", base + "%20" + c.sent}, {"password", c.sent}}, Sealing::kData);
    EXPECT_EQ(login.Text("UserID"), id) << c.sent << ": " << login.body;
  }
  // Registered sealed, looked up plain.
  for (const Case& c : cases) {
    const std::string name = UniqueName("r");
    const ServiceReply registered = client_.Call(
        "Account.Register", RegisterParameters(name + "%20" + c.sent, c.sent, name + "@example.org"), Sealing::kData);
    ASSERT_TRUE(registered.Ok()) << c.sent << ": " << registered.body;
    EXPECT_EQ(client_.Call("Account.UsernameExists", {{"username", name + "%20" + c.sent}}).Text("Exists"), "True")
        << c.sent;
  }
}

}  // namespace
}  // namespace velinst::service::test
