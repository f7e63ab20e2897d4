#include "query_parameters.h"

#include <algorithm>

#include "text_form.h"

namespace velinst::service {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "amp;", "quot;", "#38;", "#x26;": an entity reference whose "&" was taken
// for a separator.
bool BeginsWithEntityReference(std::string_view piece) {
  const std::size_t semicolon = piece.find(';');
  if (semicolon == std::string_view::npos || semicolon == 0) return false;
  const std::string_view name = piece.substr(0, semicolon);
  if (name[0] == '#') {
    if (name.size() > 1 && (name[1] == 'x' || name[1] == 'X'))
      return name.size() > 2 && std::all_of(name.begin() + 2, name.end(), [](char c) { return HexValue(c) >= 0; });
    return name.size() > 1 && std::all_of(name.begin() + 1, name.end(), IsDigit);
  }
  return std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiLetter(c) || IsDigit(c); });
}

}  // namespace

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

QueryParameters QueryParameters::FromQuery(std::string_view text) {
  // Pieces first, with entity continuations joined to their value.
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view piece = text.substr(start, end - start);
    if (!pieces.empty() && BeginsWithEntityReference(piece))
      pieces.back().append("&").append(piece);
    else if (!piece.empty())
      pieces.emplace_back(piece);
    start = end + 1;
  }
  QueryParameters parameters;
  for (const std::string& piece : pieces) {
    const std::size_t equals = piece.find('=');
    std::string name = PercentDecode(piece.substr(0, equals));
    const std::string value = equals == std::string::npos ? std::string() : PercentDecode(piece.substr(equals + 1));
    if (name.empty()) continue;
    parameters.pairs_.push_back({std::move(name), ArrivedText(value)});
  }
  return parameters;
}

void QueryParameters::Merge(const QueryParameters& other) {
  for (const Pair& pair : other.pairs_) {
    const auto found = std::find_if(pairs_.begin(), pairs_.end(),
                                    [&](const Pair& own) { return EqualsIgnoringCase(own.name, pair.name); });
    if (found != pairs_.end())
      found->value = pair.value;
    else
      pairs_.push_back(pair);
  }
}

const std::string* QueryParameters::Find(std::string_view name) const {
  for (const Pair& pair : pairs_)
    if (EqualsIgnoringCase(pair.name, name)) return &pair.value;
  return nullptr;
}

}  // namespace velinst::service
