// Answers of the account service: any bytes are read by the envelope and
// the Account, Search, Trip and Weather parsers without harm, ending in a
// result, a server error or a raised message. The query encodings of the
// same bytes hold their rules.
#include <cstddef>
#include <cstdint>
#include <string>

#include "webclient/account_parsers.h"
#include "webclient/response_parser.h"
#include "webclient/server_error.h"
#include "webclient/trip_parsers.h"
#include "webclient/url_encode.h"
#include "webclient/weather_parsers.h"
#include "xml/document.h"

namespace {

void Read(velinst::CXMLDocument& document, velinst::IRKParser& inner) {
  try {
    velinst::CRKResponseParser envelope(&inner);
    envelope.Parse(*document.GetRoot());
  } catch (const velinst::CRKException& error) {
    if (error.Code() < 4 || error.Code() > 42) __builtin_trap();
  } catch (velinst::CLastErr*) {
  }
}

bool Breaks(unsigned char c) { return c <= 0x20 || c == 0x7F || c == '&' || c == '=' || c == '+' || c == '#'; }

void CheckEncodings(const std::string& text) {
  for (const char c : velinst::UrlEncode(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (!(byte == '%' || (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')))
      __builtin_trap();
  }
  const std::string value = velinst::EncodeQueryValue(text);
  std::string decoded;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (Breaks(byte)) __builtin_trap();
    if (byte == '%') {
      if (i + 2 >= value.size()) __builtin_trap();
      decoded.push_back(static_cast<char>(std::stoi(value.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      decoded.push_back(value[i]);
    }
  }
  if (decoded != text) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckEncodings(text);

  static velinst::CXMLDocument document;
  try {
    document.LoadText(text.c_str());
  } catch (velinst::CLastErr*) {
    return 0;
  }
  velinst::CRKLogin login;
  Read(document, login);
  velinst::CRKExists exists;
  Read(document, exists);
  velinst::CRKAuthToken token;
  Read(document, token);
  velinst::CRKCurrentTimeStamp stamp;
  Read(document, stamp);
  velinst::CRKTrips trips;
  Read(document, trips);
  velinst::CRKGetTripListByDate byDate;
  Read(document, byDate);
  velinst::CRKGetTripInfo info;
  Read(document, info);
  velinst::CRKGetTrip trip;
  Read(document, trip);
  velinst::CRKTripIDs ids;
  Read(document, ids);
  velinst::CRKIDPairs pairs;
  Read(document, pairs);
  velinst::CRKTripID tripId;
  Read(document, tripId);
  velinst::CRKCurrentWeather current;
  Read(document, current);
  velinst::CRKForecast forecast;
  Read(document, forecast);
  return 0;
}
