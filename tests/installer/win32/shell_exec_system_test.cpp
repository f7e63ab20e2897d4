// What the portable launch tests expect of this system.
#include <windows.h>

#include <cstdint>

namespace velinst {

extern const std::uint32_t kNotAProgramError = ERROR_BAD_EXE_FORMAT;

}  // namespace velinst
