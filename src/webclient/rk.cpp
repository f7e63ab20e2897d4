#include "webclient/rk.h"

#include <string>

namespace velinst {

CRK::CRK(std::string_view host, std::string_view agent, bool secure) { Configure(host, agent, secure); }

CRK::~CRK() { ServiceSession().Close(); }

bool CRK::Reconnect(std::string_view host, std::string_view agent, bool secure) {
  ServiceSession().Close();
  return Configure(host, agent, secure);
}

bool CRK::Configure(std::string_view host, std::string_view agent, bool secure) {
  http::CHttpSession& session = ServiceSession();
  if (!host.empty()) session.SetAgent(std::string(agent));
  session.SetSecure(secure);
  const std::string hostText = host.empty() ? std::string(kDefaultHost) : std::string(host);
  return session.Open(hostText.c_str());
}

}  // namespace velinst
