#include "webclient/account_parsers.h"

#include "webclient/answer_values.h"

namespace velinst {

void CRKExists::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "Exists")) return;
  const std::string text = cursor.Text();
  if (EqualIgnoringAsciiCase(text, "True"))
    exists_ = true;
  else if (EqualIgnoringAsciiCase(text, "False"))
    exists_ = false;
  else
    RaiseText("Illegal Exists value");
  SetFilled();
}

void CRKLogin::Parse(CXMLNodeCursor& cursor) {
  if (ElementNamed(cursor, "AuthToken")) {
    token_ = cursor.Text();
    ++found_;
  } else if (ElementNamed(cursor, "Weight")) {
    weight_ = LeadingRealValue(cursor.Text());
  } else if (ElementNamed(cursor, "Units")) {
    units_ = cursor.Text();
  } else if (ElementNamed(cursor, "UserID")) {
    userId_ = LeadingIntegerValue(cursor.Text());
    ++found_;
  }
  if (found_ >= 2) SetFilled();
}

}  // namespace velinst
