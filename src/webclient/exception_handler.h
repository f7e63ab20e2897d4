// The hook through which a method group repairs the cause of a server error
// (by signing in again, for instance) so that Send may repeat the call.
#pragma once

#include "webclient/server_error.h"

namespace velinst {

class IRKExceptionHandler {
 public:
  virtual ~IRKExceptionHandler() = default;

  // True when the cause was repaired and the call may be repeated.
  virtual bool Handle(CRKException error) = 0;

 protected:
  IRKExceptionHandler() = default;
  IRKExceptionHandler(const IRKExceptionHandler&) = default;
  IRKExceptionHandler& operator=(const IRKExceptionHandler&) = default;
};

}  // namespace velinst
