// The envelope of every answer: an "rsp" element whose status attribute is
// "ok" (the method's elements are its children) or "err" (its first child
// describes the server error); a "gpx" document is the answer itself.
#pragma once

#include "webclient/rk_parser.h"

namespace velinst {

class CRKResponseParser : public IRKParser {
 public:
  // `inner` may be null; it is not owned.
  explicit CRKResponseParser(IRKParser* inner) : inner_(inner) {}

  // Given the root element. Raises "Bad response" and "Bad Response status"
  // on this parser; throws a CRKException for a server error.
  void Parse(CXMLNodeCursor& root) override;

 private:
  [[noreturn]] static void ThrowServerError(CXMLNodeCursor& root);

  IRKParser* inner_;
};

}  // namespace velinst
