// The "Account" group over HTTP: sign-in, registration, passwords, profile
// and the availability checks, with their error types.
#include <gtest/gtest.h>

#include "service_test_fixture.h"

namespace velinst::service::test {
namespace {

Parameters RegisterParameters(const std::string& name, const std::string& password, const std::string& email) {
  return {{"username", name}, {"password", password}, {"appName", "HalvardOutdoors"}, {"emailAddress", email}};
}

class AccountTest : public ServiceTest {
 protected:
  ServiceReply Sealed(const std::string& method, const Parameters& parameters) {
    return client_.Call(method, parameters, Sealing::kData);
  }
  std::string Exists(const char* method, const char* parameter, const std::string& value) {
    return client_.Call(method, {{parameter, value}}).Text("Exists");
  }
  std::string ChangePassword(const NewUser& user, const std::string& old, const std::string& fresh) {
    const ServiceReply reply =
        Sealed("Account.ChangePassword", {{"authToken", user.token}, {"oldPassword", old}, {"newPassword", fresh}});
    return reply.Ok() ? "ok" : reply.ErrorType();
  }
};

TEST_F(AccountTest, RegistrationAndLoginErrors) {
  const NewUser taken = Register();
  const std::string fresh = UniqueName("fresh");
  const std::string mail = fresh + "@example.org";
  const struct {
    const char* method;
    Parameters parameters;
    const char* type;
  } cases[] = {
      {"Account.Register", RegisterParameters(taken.name, "password", mail), "DuplicateUsernameException"},
      {"Account.Register", RegisterParameters(fresh, "password", taken.email), "DuplicateEmailAddressException"},
      {"Account.Register", RegisterParameters(fresh, "password", "no-at-sign"), "EmailAddressFormatException"},
      {"Account.Register", RegisterParameters(fresh, "short", mail), "PasswordFormatException"},
      {"Account.Register", RegisterParameters("", "password", mail), "UsernameFormatException"},
      {"Account.Register", RegisterParameters(fresh + "%20", "password", mail), "UsernameFormatException"},
      {"Account.Register", {{"username", fresh}, {"password", "password"}}, "MissingParameterException"},
      {"Account.Login", {{"username", taken.name}, {"password", "wrong-password"}}, "IncorrectPasswordException"},
      {"Account.Login",
       {{"username", "no-such-" + taken.name}, {"password", taken.password}},
       "InvalidCredentialsException"},
      {"Account.Login", {{"username", taken.name}, {"password", ""}}, "IncorrectPasswordException"},
  };
  for (const auto& c : cases) {
    const ServiceReply reply = Sealed(c.method, c.parameters);
    EXPECT_TRUE(WellFormedAnswer(reply));
    EXPECT_EQ(reply.ErrorType(), c.type) << reply.body;
  }
  EXPECT_EQ(Exists("Account.UsernameExists", "username", fresh), "False");
  EXPECT_TRUE(Sealed("Account.Register", RegisterParameters(fresh, "six-ch", mail)).Ok());  // the shortest allowed
  std::string upper = taken.name;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_EQ(Exists("Account.UsernameExists", "username", upper), "True");
  EXPECT_EQ(Exists("Account.EmailAddressExists", "emailAddress", taken.email), "True");
}

// A password changed to a different one ends the user's other tokens; the
// token of the change itself, and every token when the password stays the
// same, go on working.
TEST_F(AccountTest, ADifferentPasswordEndsTheUsersOtherTokens) {
  const NewUser user = Register();
  const std::string admin = client_.AdminToken();
  const auto works = [&](const std::string& token) {
    const ServiceReply reply = Call(token, "AccountUsers.GetById", {{"id", user.id}});
    return reply.Ok() ? "ok" : reply.ErrorType();
  };
  const auto setPassword = [&](const std::string& password) {
    return Call(admin, "AccountUsers.SetPassword", {{"userId", user.id}},
                "<SetPasswordRequest><Password>" + password + "</Password></SetPasswordRequest>")
        .Ok();
  };
  const std::string second = client_.Login(user.name, user.password);
  ASSERT_TRUE(setPassword(user.password));
  EXPECT_EQ(works(second), "ok");

  EXPECT_EQ(ChangePassword(user, "wrong-one", "changed-1"), "IncorrectPasswordException");
  EXPECT_EQ(ChangePassword(user, user.password, "short"), "PasswordFormatException");
  ASSERT_EQ(ChangePassword(user, user.password, "changed-1"), "ok");
  EXPECT_EQ(works(user.token), "ok");
  EXPECT_EQ(works(second), "InvalidAuthTokenException");

  ASSERT_TRUE(setPassword("changed-2 &amp; more"));
  EXPECT_NE(works(user.token), "ok");
  EXPECT_EQ(works(admin), "ok");
  EXPECT_FALSE(client_.Login(user.name, "changed-2 &amp; more").empty());
}

// Texts travel XML-escaped. The service keeps them so and escapes once more
// on the way out, so a client's own unescaping gives the caller's text.
TEST_F(AccountTest, EscapedTextsComeBackAsTheyWereSent) {
  const std::string name = UniqueName("tom") + "&amp;jerry";
  const std::string password = "p&amp;ss&lt;word";
  const ServiceReply registered =
      Sealed("Account.Register", RegisterParameters(name, password, UniqueName("tj") + "@example.org"));
  ASSERT_TRUE(registered.Ok()) << registered.body;
  EXPECT_EQ(Exists("Account.UsernameExists", "username", name), "True");
  EXPECT_FALSE(client_.Login(name, password).empty());
  EXPECT_TRUE(client_.Login(name, "p&ss<word").empty());

  const std::string display = UniqueName("Tom") + "&amp;Jerry&quot;TJ&quot;";
  EXPECT_TRUE(
      Call(registered.Text("AuthToken"), "Account.Update", {{"displayName", display}, {"emailAddress", ""}}).Ok());
  EXPECT_EQ(Exists("Account.DisplayNameExists", "displayName", display), "True");

  // The user's record: the stored text goes out escaped once more.
  const ServiceReply record = Call(client_.AdminToken(), "AccountUsers.GetById", {{"id", registered.Text("UserID")}});
  EXPECT_EQ(record.FieldText("AccountUser", "UserName"), name);
  EXPECT_NE(record.body.find("&amp;amp;jerry"), std::string::npos) << record.body;
}

// The library percent-encodes values before it seals them, as it does in a
// plain query: what a sign-in seals must meet what a document or a plain
// query stored.
TEST_F(AccountTest, SealedCredentialsAreDecodedAsAPlainQueryIs) {
  const struct {
    std::string stored;  // escaped, as a document carries it
    std::string sent;    // the same, percent-encoded as the library sends it
  } cases[] = {
      {"two words", "two%20words"},
      {"a+b+c+d1", "a%2bb%2bc%2bd1"},
      {"pa&amp;ss-word1", "pa%26amp;ss-word1"},
      {"%41=&lt;&gt;&quot;&apos;#", "%2541%3d%26lt;%26gt;%26quot;%26apos;%23"},
  };
  const std::string admin = client_.AdminToken();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sent);
    const NewAccount account = CreateAccount();
    const std::string base = UniqueName("u");
    const ServiceReply added = Call(admin, "AccountUsers.Add", {{"accountId", account.id}},
                                    "<AccountUser><UserName>" + base + " " + c.stored + "</UserName></AccountUser>");
    const std::string id = added.FieldText("AccountUser", "Id").value_or("");
    ASSERT_TRUE(Call(admin, "AccountUsers.SetPassword", {{"userId", id}},
                     "<SetPasswordRequest><Password>" + c.stored + "</Password></SetPasswordRequest>")
                    .Ok())
        << Describe(added);
    const ServiceReply login = Sealed("Account.Login", {{"username", base + "%20" + c.sent}, {"password", c.sent}});
    EXPECT_EQ(login.Text("UserID"), id) << login.body;

    // Registered sealed, looked up plain.
    const std::string name = UniqueName("r");
    const ServiceReply registered =
        Sealed("Account.Register", RegisterParameters(name + "%20" + c.sent, c.sent, name + "@example.org"));
    ASSERT_TRUE(registered.Ok()) << registered.body;
    EXPECT_EQ(Exists("Account.UsernameExists", "username", name + "%20" + c.sent), "True");
  }
}

}  // namespace
}  // namespace velinst::service::test
