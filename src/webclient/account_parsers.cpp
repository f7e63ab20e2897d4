#include "webclient/account_parsers.h"

#include "platform/ascii_text.h"
#include "xml/typed_values.h"

namespace velinst {

namespace {

bool Named(const CXMLNodeCursor& cursor, const char* name) { return EqualIgnoringAsciiCase(cursor.Name(), name); }

// atof's reading, without its dependence on the C locale; 0 when the text
// does not begin with a number.
double LeadingDouble(const std::string& text) {
  CXMLDouble number;
  return number.FromString(text) ? number.value : 0.0;
}

// atoi's reading; out-of-range numbers stop at the ends of the type.
std::int32_t LeadingInteger(const std::string& text) {
  CXMLInteger number;
  number.FromString(text);
  return number.value;
}

}  // namespace

void CRKExists::Parse(CXMLNodeCursor& cursor) {
  if (!Named(cursor, "Exists")) return;
  const std::string text = cursor.Text();
  if (EqualIgnoringAsciiCase(text, "True"))
    exists_ = true;
  else if (EqualIgnoringAsciiCase(text, "False"))
    exists_ = false;
  else
    RaiseText("Illegal Exists value");
  SetFilled();
}

void CRKAuthToken::Parse(CXMLNodeCursor& cursor) {
  if (!Named(cursor, "AuthToken")) return;
  token_ = cursor.Text();
  SetFilled();
}

void CRKCurrentTimeStamp::Parse(CXMLNodeCursor& cursor) {
  if (!Named(cursor, "CurrentTimeStamp")) return;
  timeStamp_ = cursor.Text();
  SetFilled();
}

void CRKLogin::Parse(CXMLNodeCursor& cursor) {
  if (Named(cursor, "AuthToken")) {
    token_ = cursor.Text();
    ++found_;
  } else if (Named(cursor, "Weight")) {
    weight_ = LeadingDouble(cursor.Text());
  } else if (Named(cursor, "Units")) {
    units_ = cursor.Text();
  } else if (Named(cursor, "UserID")) {
    userId_ = LeadingInteger(cursor.Text());
    ++found_;
  }
  if (found_ >= 2) SetFilled();
}

}  // namespace velinst
