// Comparisons of wide texts (drive roots, share names) as the platform's
// case-blind comparison does them.
#pragma once

#include <string_view>

namespace velinst {

// Equality regardless of letter case.
bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace velinst
