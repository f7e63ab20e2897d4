#include "webclient/ad_class.h"

namespace velinst {

std::int32_t CRKADClass::Call(const char* method, CRKParameterList parameters, const std::string* body) {
  return CallParsed(method, std::move(parameters), body, nullptr);
}

std::int32_t CRKADClass::CallParsed(const char* method, CRKParameterList parameters, const std::string* body,
                                    IRKParser* parser) {
  if (body != nullptr) SetPostData(*body);
  return Send(method, std::move(parameters), parser, kRKPlain);
}

}  // namespace velinst
