// Answers of the administrative methods: any bytes are read by the envelope
// and the list, record and markup parsers without harm, and every record
// read writes a request document that holds its one element.
#include <cstddef>
#include <cstdint>
#include <string>

#include "webclient/ad_account_records.h"
#include "webclient/ad_parsers.h"
#include "webclient/ad_reseller_records.h"
#include "webclient/ad_team_records.h"
#include "webclient/ad_value_records.h"
#include "webclient/response_parser.h"
#include "webclient/server_error.h"
#include "xml/document.h"

namespace {

void Read(velinst::CXMLDocument& document, velinst::IRKParser& inner) {
  try {
    velinst::CRKResponseParser envelope(&inner);
    envelope.Parse(*document.GetRoot());
  } catch (const velinst::CRKException&) {
  } catch (velinst::CLastErr*) {
  }
}

template <typename Record>
void CheckDocument(const Record& record, const std::string& element) {
  const std::string document = record.ToXml();
  if (document.rfind("<" + element + ">\n", 0) != 0) __builtin_trap();
  if (document.size() < element.size() + 4 ||
      document.compare(document.size() - element.size() - 4, element.size() + 4, "</" + element + ">\n") != 0)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  static velinst::CXMLDocument document;
  try {
    document.LoadText(text.c_str());
  } catch (velinst::CLastErr*) {
    return 0;
  }
  velinst::CRKADList<velinst::Account> accounts;
  Read(document, accounts);
  for (const velinst::Account& account : accounts.List()) CheckDocument(account, "Account");
  velinst::CRKADList<velinst::IDPair> pairs;
  Read(document, pairs);
  velinst::CRKADList<velinst::String> strings;
  Read(document, strings);
  velinst::CRKADList<velinst::TeamTripStats> trips;
  Read(document, trips);
  velinst::CRKADRecord<velinst::AccountUser> user;
  Read(document, user);
  CheckDocument(user.Record(), "AccountUser");
  velinst::CRKADRecord<velinst::Reseller> reseller;
  Read(document, reseller);
  CheckDocument(reseller.Record(), "Reseller");
  velinst::CRKADGPXHack markup;
  Read(document, markup);
  return 0;
}
