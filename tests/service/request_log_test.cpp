#include "request_log.h"

#include <gtest/gtest.h>

#include <string>

namespace velinst::testserver {
namespace {

// The stand-in runs for the whole suite: its log must stay at its limit,
// dropping the oldest requests, not grow by one on every overflow.
TEST(RequestLog, KeepsTheLastRequestsUpToItsLimit) {
  RequestLog log;
  log.SetLimit(2);
  for (const char* target : {"/a", "/b", "/c", "/d"}) log.Add({"GET", target, {}, {}});
  std::string kept;
  for (const LoggedRequest& request : log.Requests()) kept += request.target;
  EXPECT_EQ(kept, "/c/d");
}

}  // namespace
}  // namespace velinst::testserver
