#include "scratch_registry.h"

#include <stdlib.h>

namespace velinst::test {

void UseScratchRegistry(const std::string& folder) { ::setenv("VELINST_REGISTRY_DIR", folder.c_str(), 1); }

}  // namespace velinst::test
