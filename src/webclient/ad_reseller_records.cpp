#include "webclient/ad_reseller_records.h"

#include "webclient/ad_record_fields.h"

namespace velinst {

namespace {

constexpr CRKADField<Reseller> kResellerFields[] = {{"Id", &Reseller::Id},
                                                    {"Name", &Reseller::Name},
                                                    {"Address1", &Reseller::Address1},
                                                    {"Address2", &Reseller::Address2},
                                                    {"City", &Reseller::City},
                                                    {"State", &Reseller::State},
                                                    {"Zip", &Reseller::Zip},
                                                    {"Website", &Reseller::Website},
                                                    {"Phone", &Reseller::Phone},
                                                    {"Fax", &Reseller::Fax},
                                                    {"Lat", &Reseller::Lat},
                                                    {"Lon", &Reseller::Lon},
                                                    {"Type", &Reseller::Type}};

constexpr CRKADField<ResellerContact> kResellerContactFields[] = {{"Id", &ResellerContact::Id},
                                                                  {"Name", &ResellerContact::Name},
                                                                  {"Phone", &ResellerContact::Phone},
                                                                  {"Email", &ResellerContact::Email},
                                                                  {"Type", &ResellerContact::Type}};

}  // namespace

bool Reseller::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<Reseller>(*this, kResellerFields, name, value);
}

std::string Reseller::ToXml() const {
  return RecordDocument<Reseller>(*this, kResellerFields, {"Reseller", "  ", true});
}

bool ResellerContact::SetField(std::string_view name, std::string_view value) {
  return SetRecordField<ResellerContact>(*this, kResellerContactFields, name, value);
}

std::string ResellerContact::ToXml() const {
  return RecordDocument<ResellerContact>(*this, kResellerContactFields, {"ResellerContact", "  ", false});
}

}  // namespace velinst
