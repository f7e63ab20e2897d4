#include "http/redirect_rule.h"

#include "platform/ascii_text.h"

namespace velinst::http {

RedirectStep NextRedirectStep(long status, const UrlOrigin& from, const UrlOrigin& to) {
  const bool toHttps = EqualIgnoringAsciiCase(to.scheme, "https");
  if (!toHttps && !EqualIgnoringAsciiCase(to.scheme, "http")) return RedirectStep::kStop;
  if (EqualIgnoringAsciiCase(from.scheme, "https") && !toHttps) return RedirectStep::kStop;
  switch (status) {
    case 301:
    case 302:
    case 303:
      return RedirectStep::kGetWithoutBody;
    case 307:
    case 308:
      return EqualIgnoringAsciiCase(from.host, to.host) ? RedirectStep::kRepeat : RedirectStep::kStop;
    default:
      return RedirectStep::kStop;
  }
}

}  // namespace velinst::http
