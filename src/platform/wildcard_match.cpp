#include "platform/wildcard_match.h"

#include "platform/ascii_text.h"

namespace velinst {

namespace {

// '*' and '?' only; a star retries from one character further on each
// mismatch, so the walk is linear in practice.
bool Glob(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starName = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool HasWildcards(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (pattern.size() > 2 && pattern.ends_with(".*") && Glob(pattern.substr(0, pattern.size() - 2), name)) return true;
  if (pattern.size() > 1 && pattern.back() == '.' && pattern.find_first_not_of('.') != std::string_view::npos)
    return name.find('.') == std::string_view::npos && Glob(pattern.substr(0, pattern.size() - 1), name);
  return Glob(pattern, name);
}

}  // namespace velinst
