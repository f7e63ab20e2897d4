// Which redirects a request follows. Only http and https are followed, and
// never from https down to http. A 307 or 308 repeats the request with its
// body, so it is followed only on the same host: the body is never posted
// to a host the caller did not name. The others (301, 302, 303) go on as a
// GET without a body.
#pragma once

#include <string>

namespace velinst::http {

// The parts of a URL the rule reads: scheme and host, in any letter case.
struct UrlOrigin {
  std::string scheme;
  std::string host;
};

enum class RedirectStep {
  kStop,          // the request ends with the redirect reply itself
  kRepeat,        // the same request, body and all, at the new location
  kGetWithoutBody  // a GET at the new location
};

RedirectStep NextRedirectStep(long status, const UrlOrigin& from, const UrlOrigin& to);

}  // namespace velinst::http
