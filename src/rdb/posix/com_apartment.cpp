#include "rdb/com_apartment.h"

namespace velinst {

// The host's XML parser needs no per-thread runtime.
CComApartment::CComApartment() = default;
CComApartment::~CComApartment() = default;

}  // namespace velinst
