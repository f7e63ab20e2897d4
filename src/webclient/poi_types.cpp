#include "webclient/poi_types.h"

namespace velinst {

const char* PointOfInterestTypeName(std::int32_t index) {
  if (index < 0 || index >= kPointOfInterestTypeCount) return "";
  return kPointOfInterestTypeNames[index].data();  // literals: terminated
}

}  // namespace velinst
