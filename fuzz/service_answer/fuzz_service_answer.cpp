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

template <typename Parser>
void ReadWith(velinst::CXMLDocument& document) {
  Parser parser;
  Read(document, parser);
}

template <typename... Parsers>
void ReadWithEach(velinst::CXMLDocument& document) {
  (ReadWith<Parsers>(document), ...);
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
  ReadWithEach<velinst::CRKLogin, velinst::CRKExists, velinst::CRKAuthToken, velinst::CRKCurrentTimeStamp,
               velinst::CRKTrips, velinst::CRKGetTripListByDate, velinst::CRKGetTripInfo, velinst::CRKGetTrip,
               velinst::CRKTripIDs, velinst::CRKIDPairs, velinst::CRKLastModified, velinst::CRKTrip,
               velinst::CRKMediaID, velinst::CRKPOIID, velinst::CRKTripID, velinst::CRKCurrentWeather,
               velinst::CRKForecast>(document);
  return 0;
}
