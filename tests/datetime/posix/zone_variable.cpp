#include <stdlib.h>
#include <time.h>

#include "../zone_environment.h"

namespace velinst::test {

void SetZoneVariable(const char* value) {
  if (value != nullptr)
    ::setenv("TZ", value, 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

}  // namespace velinst::test
