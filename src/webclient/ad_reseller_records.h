// The records of resellers and their contacts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velinst {

struct Reseller {
  static const char* ElementName() { return "Reseller"; }
  bool SetField(std::string_view name, std::string_view value);
  // The id is commented out; Lat and Lon with six decimals of their
  // single-precision values.
  std::string ToXml() const;
  bool operator==(const Reseller&) const = default;

  std::int32_t Id = 0;
  std::string Name;
  std::string Address1;
  std::string Address2;
  std::string City;
  std::string State;
  std::string Zip;
  std::string Website;
  std::string Phone;
  std::string Fax;
  float Lat = 0.0f;
  float Lon = 0.0f;
  std::string Type;
};

struct ResellerContact {
  static const char* ElementName() { return "ResellerContact"; }
  bool SetField(std::string_view name, std::string_view value);
  // The id is written as it is.
  std::string ToXml() const;
  bool operator==(const ResellerContact&) const = default;

  std::int32_t Id = 0;
  std::string Name;
  std::string Phone;
  std::string Email;
  std::string Type;
};

}  // namespace velinst
