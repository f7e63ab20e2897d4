// The "name=value" pairs of a request, from its query text or from the
// decrypted text that stands in for it. Both are read alike: clients
// percent-encode values before they encrypt the query, so a decrypted text
// decodes as the plain query does.
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
  // The text after "?" of a request target, or a decrypted parameter text
  // "&name=value..."; names and values are percent-decoded ('+' stays '+':
  // clients never encode a space so).
  static QueryParameters FromQuery(std::string_view query);

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

  std::vector<Pair> pairs_;
};

// Decodes %XX sequences; a '%' not followed by two hexadecimal digits is kept.
std::string PercentDecode(std::string_view text);

}  // namespace velinst::service
