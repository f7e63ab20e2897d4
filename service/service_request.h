// One request on the service path, as the methods see it.
#pragma once

#include <string>

#include "query_parameters.h"

namespace velinst::service {

struct ServiceRequest {
  std::string method;
  // The query's parameters with those of its encrypted parameter (if any)
  // merged in.
  QueryParameters parameters;
  // Whether "encryptedData" or "encryptedDeviceInfo" carried parameters.
  bool encryptedData = false;
  bool encryptedDeviceInfo = false;
  std::string body;
  std::string remoteAddress;
};

}  // namespace velinst::service
