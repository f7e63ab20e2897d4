#include "scratch_registry.h"

namespace velinst::test {

// The tests use a key of their own in the real registry.
void UseScratchRegistry(const std::string&) {}

}  // namespace velinst::test
