#include "webclient/element_parsers.h"

#include "webclient/answer_values.h"

namespace velinst {

void CRKTextElement::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, name_)) return;
  text_ = cursor.Text();
  if (emptyFills_ || !text_.empty()) SetFilled();
}

void CRKIdElement::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, name_)) return;
  id_ = LeadingIntegerValue(cursor.Text());
  if (id_ != 0) SetFilled();
}

}  // namespace velinst
