#include <stdlib.h>
#include <time.h>

#include "../zone_environment.h"

namespace velinst::test {

void SetZoneVariable(const char* value) {
  // An empty value removes the variable.
  ::_putenv_s("TZ", value != nullptr ? value : "");
  ::_tzset();
}

}  // namespace velinst::test
