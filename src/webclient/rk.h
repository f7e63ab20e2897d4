// The client of the account web service: configures the process-wide
// session and holds the consumer method groups.
#pragma once

#include <string_view>

#include "webclient/account_class.h"
#include "webclient/rk_class.h"
#include "webclient/search_class.h"
#include "webclient/trip_class.h"
#include "webclient/weather_class.h"

namespace velinst {

class CRK : public CRKClass {
 public:
  // The service host used when none is given: the deployment's, fixed
  // when the library is built.
  static constexpr const char* kDefaultHost = VELINST_DEFAULT_SERVICE_HOST;

  // Opens the process-wide session to `host` (the default host when empty).
  // `agent` replaces the session's user agent only together with a host,
  // even when it is empty. The session counts its opens: while another
  // client holds it open, it stays open to the host it was opened to.
  CRK(std::string_view host, std::string_view agent, bool secure);
  ~CRK() override;  // closes the session, unless other clients still hold it

  // Closes the session and opens it again as the constructor does; whether
  // it opened. Reopens on `host` only when no other client holds it.
  bool Reconnect(std::string_view host, std::string_view agent, bool secure);

  CRKAccountClass& AccountGroup() { return account_; }
  CRKSearchClass& SearchGroup() { return search_; }
  CRKTripClass& TripGroup() { return trip_; }
  CRKWeatherClass& WeatherGroup() { return weather_; }

 private:
  static bool Configure(std::string_view host, std::string_view agent, bool secure);

  CRKAccountClass account_;
  CRKSearchClass search_;
  CRKTripClass trip_;
  CRKWeatherClass weather_;
};

}  // namespace velinst
