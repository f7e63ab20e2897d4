// The small read-only records of the administrative answers: storage
// credentials, authorised features, id pairs and plain texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

struct Credentials {
  static const char* ElementName() { return "Credentials"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const Credentials&) const = default;

  std::string AccessKeyId;
  std::string SecretAccessKey;
  std::string SessionToken;
  std::string Expiration;
};

struct Feature {
  static const char* ElementName() { return "Feature"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const Feature&) const = default;

  std::string Name;
  std::string Value;
};

struct IDPair {
  static const char* ElementName() { return "IDPair"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const IDPair&) const = default;

  std::int32_t Id = 0;
  std::int32_t Value = 0;
};

// One "string" element; its text node is the field "#text".
struct String {
  static const char* ElementName() { return "string"; }
  bool SetField(std::string_view name, std::string_view value);
  bool operator==(const String&) const = default;

  std::string Text;
};

}  // namespace velinst
