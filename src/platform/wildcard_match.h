// File-name patterns with the rules of the Windows file search, so that the
// host finds what Windows finds: '*' (any run, dots included) and '?' (one
// character), letter case ignored; "*" and "*.*" match every name, a
// trailing ".*" also matches names without an extension and a trailing '.'
// only names without one.
#pragma once

#include <string_view>

namespace velinst {

bool HasWildcards(std::string_view pattern);
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace velinst
