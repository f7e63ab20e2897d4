#include "webclient/ad_value_records.h"

#include "webclient/ad_record_fields.h"

namespace velinst {

namespace {

constexpr CRKADField<Credentials> kCredentialsFields[] = {{"AccessKeyId", &Credentials::AccessKeyId},
                                                          {"SecretAccessKey", &Credentials::SecretAccessKey},
                                                          {"SessionToken", &Credentials::SessionToken},
                                                          {"Expiration", &Credentials::Expiration}};

constexpr CRKADField<Feature> kFeatureFields[] = {{"Name", &Feature::Name}, {"Value", &Feature::Value}};

constexpr CRKADField<IDPair> kIDPairFields[] = {{"Id", &IDPair::Id}, {"Value", &IDPair::Value}};

constexpr CRKADField<String> kStringFields[] = {{"#text", &String::Text}};

}  // namespace

bool Credentials::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<Credentials>(*this, kCredentialsFields, name, value);
}

bool Feature::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<Feature>(*this, kFeatureFields, name, value);
}

bool IDPair::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<IDPair>(*this, kIDPairFields, name, value);
}

bool String::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<String>(*this, kStringFields, name, value);
}

}  // namespace velinst
