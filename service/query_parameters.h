// The "name=value" pairs of a request, from its query text or from the
// decrypted text that stands in for it.
//
// Clients send texts XML-escaped but otherwise as they are, so a value may
// hold "&amp;" and the like: a piece that begins with an entity reference
// without its "&" ("amp;", "lt;", "#38;" ...) is the rest of the previous
// value, never a parameter of its own (no parameter name holds a ';').
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velinst::service {

class QueryParameters {
 public:
  // The text after "?" of a request target; names and values are
  // percent-decoded ('+' stays '+': clients never encode a space so).
  static QueryParameters FromQuery(std::string_view query);
  // Decrypted parameter text, "&name=value..." without any percent-encoding.
  static QueryParameters FromPlainText(std::string_view text);

  // Adds the pairs of `other`; where both name a parameter, `other`'s wins.
  void Merge(const QueryParameters& other);

  // The first value of `name` (any case); null when there is none.
  const std::string* Find(std::string_view name) const;
  std::size_t Size() const { return pairs_.size(); }

 private:
  struct Pair {
    std::string name;
    std::string value;
  };
  static QueryParameters Parse(std::string_view text, bool percentEncoded);

  std::vector<Pair> pairs_;
};

// Decodes %XX sequences; a '%' not followed by two hexadecimal digits is kept.
std::string PercentDecode(std::string_view text);

}  // namespace velinst::service
