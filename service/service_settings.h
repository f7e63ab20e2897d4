// What the command line sets for the whole service.
#pragma once

#include <cstdint>

#include "password_hash.h"

namespace velinst::service {

struct ServiceSettings {
  std::int64_t tokenTtlSeconds = 3600;
  std::uint32_t hashIterations = kDefaultHashIterations;
};

}  // namespace velinst::service
