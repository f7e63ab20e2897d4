#include "zone_environment.h"

#include <cstdlib>

namespace velinst::test {

ScopedZone::ScopedZone(const char* zone) {
  if (const char* previous = std::getenv("TZ")) previous_ = previous;
  SetZoneVariable(zone);
}

ScopedZone::~ScopedZone() { SetZoneVariable(previous_ ? previous_->c_str() : nullptr); }

}  // namespace velinst::test
