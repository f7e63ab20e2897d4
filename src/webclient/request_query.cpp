#include "webclient/request_query.h"

#include "webclient/client_state.h"
#include "webclient/url_encode.h"

namespace velinst {

std::string QueryText(const CRKParameterList& parameters) {
  std::string query;
  for (const CRKParameter& parameter : parameters) {
    query += '&';
    query += parameter.name;
    query += '=';
    query += parameter.urlEncoded ? parameter.value : EncodeQueryValue(parameter.value);
  }
  return query;
}

bool EncryptedQuery(std::string_view plain, int mode, std::string& query) {
  std::string base64;
  if (!EncryptPayload(plain, base64)) return false;
  query = mode == kRKEncryptedDeviceInfo ? "&encryptedDeviceInfo=" : "&encryptedData=";
  query += UrlEncode(base64);
  return true;
}

}  // namespace velinst
