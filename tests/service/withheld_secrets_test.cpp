#include "withheld_secrets.h"
#include "request_log.h"

#include <gtest/gtest.h>

#include <string>

namespace velinst::service {
namespace {

TEST(WithheldSecrets, CredentialsLeaveTheTargetAndTheRestStays) {
  struct Case {
    const char* target;
    const char* logged;
  } cases[] = {
      {"/p?method=Trip.Delete&authToken=abc123&tripID=7", "/p?method=Trip.Delete&authToken=(withheld)&tripID=7"},
      {"/p?method=Account.Login&encryptedData=Zm9v%2b%3d", "/p?method=Account.Login&encryptedData=(withheld)"},
      {"/p?ENCRYPTEDDEVICEINFO=x&a=1", "/p?ENCRYPTEDDEVICEINFO=(withheld)&a=1"},
      {"/p?%70assword=p&amp;w&lt;&x=+1", "/p?%70assword=(withheld)&x=+1"},
      {"/p?oldPassword=a&newPassword=b", "/p?oldPassword=(withheld)&newPassword=(withheld)"},
      {"/p?authTokens=kept&q=a%20b", "/p?authTokens=kept&q=a%20b"},
      {"/no/query", "/no/query"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithheldTarget(c.target), c.logged) << c.target;
}

TEST(WithheldSecrets, PasswordElementsLoseTheirText) {
  EXPECT_EQ(WithheldBody("<SetPasswordRequest><Password>a&amp;b c</Password></SetPasswordRequest>"),
            "<SetPasswordRequest><Password>(withheld)</Password></SetPasswordRequest>");
  EXPECT_EQ(WithheldBody("<x><password>1</password><PASSWORD>2</PASSWORD><Name>n</Name></x>"),
            "<x><password>(withheld)</password><PASSWORD>(withheld)</PASSWORD><Name>n</Name></x>");
  EXPECT_EQ(WithheldBody("<x><Password>never closed"), "<x><Password>(withheld)");
  EXPECT_EQ(WithheldBody("<Account><Name>Password</Name></Account>"), "<Account><Name>Password</Name></Account>");
}

// The stand-in runs for the whole suite: its log must stay at its limit,
// dropping the oldest requests, not grow by one on every overflow.
TEST(RequestLog, KeepsTheLastRequestsUpToItsLimit) {
  testserver::RequestLog log;
  log.SetLimit(2);
  for (const char* target : {"/a", "/b", "/c", "/d"}) log.Add({"GET", target, {}, {}});
  std::string kept;
  for (const testserver::LoggedRequest& request : log.Requests()) kept += request.target;
  EXPECT_EQ(kept, "/c/d");
}

}  // namespace
}  // namespace velinst::service
