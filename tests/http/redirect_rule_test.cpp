#include "http/redirect_rule.h"

#include <gtest/gtest.h>

namespace velinst::http {
namespace {

TEST(RedirectRule, HttpAndHttpsOnlyNeverDownAndBodiesStayOnTheirHost) {
  using Step = RedirectStep;
  struct Case {
    long status;
    UrlOrigin from, to;
    Step expected;
  } cases[] = {
      {302, {"http", "a.example"}, {"https", "b.example"}, Step::kGetWithoutBody},
      {301, {"https", "a.example"}, {"HTTPS", "b.example"}, Step::kGetWithoutBody},
      {303, {"http", "a.example"}, {"http", "a.example"}, Step::kGetWithoutBody},
      {301, {"https", "a.example"}, {"http", "a.example"}, Step::kStop},  // down to plain text
      {307, {"https", "a.example"}, {"http", "a.example"}, Step::kStop},
      {307, {"http", "a.example"}, {"https", "A.Example"}, Step::kRepeat},
      {308, {"http", "a.example"}, {"http", "a.example"}, Step::kRepeat},
      {307, {"http", "a.example"}, {"http", "b.example"}, Step::kStop},  // the body would go elsewhere
      {308, {"https", "a.example"}, {"https", "a.example.evil"}, Step::kStop},
      {302, {"http", "a.example"}, {"ftp", "a.example"}, Step::kStop},
      {302, {"http", "a.example"}, {"file", ""}, Step::kStop},
      {302, {"http", "a.example"}, {"httpx", "a.example"}, Step::kStop},
      {300, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
      {304, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
      {200, {"http", "a.example"}, {"http", "a.example"}, Step::kStop},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NextRedirectStep(c.status, c.from, c.to), c.expected)
        << c.status << " " << c.from.scheme << "://" << c.from.host << " to " << c.to.scheme << "://" << c.to.host;
}

}  // namespace
}  // namespace velinst::http
