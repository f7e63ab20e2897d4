#include "webclient/response_parser.h"

#include <string>

#include "platform/ascii_text.h"
#include "webclient/server_error.h"

namespace velinst {

void CRKResponseParser::Parse(CXMLNodeCursor& root) {
  const std::string name = root.Name();
  if (EqualIgnoringAsciiCase(name, "gpx")) {
    if (inner_ != nullptr) inner_->Parse(root);
    return;
  }
  if (!EqualIgnoringAsciiCase(name, "rsp")) RaiseText("Bad response");

  if (CXMLAttributeCursor* attribute = root.AttributeCursor(); attribute != nullptr) {
    do {
      if (!EqualIgnoringAsciiCase(attribute->Name(), "status")) continue;
      const std::string status = attribute->Text();
      if (EqualIgnoringAsciiCase(status, "ok"))
        SetFilled();
      else if (EqualIgnoringAsciiCase(status, "err"))
        ThrowServerError(root);
    } while (attribute->NextAttribute());
  }
  if (!IsFilled()) RaiseText("Bad Response status");

  if (inner_ == nullptr) return;
  CXMLNodeCursor* child = root.ChildCursor();
  if (child == nullptr) return;
  do inner_->Parse(*child);
  while (child->NextSibling());
}

void CRKResponseParser::ThrowServerError(CXMLNodeCursor& root) {
  // Without an error element the type stays empty, which is an unknown
  // server error.
  CRKErr error;
  if (CXMLNodeCursor* element = root.ChildCursor(); element != nullptr) error.Parse(*element);
  throw CRKException(error);
}

}  // namespace velinst
