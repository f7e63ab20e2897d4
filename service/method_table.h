// Every method the service answers, by its name ("Group.Method"), with the
// handler that writes its answer and the encryption its parameters must
// arrive in.
#pragma once

#include <span>
#include <string_view>

#include "method_context.h"

namespace velinst::service {

using MethodHandler = void (*)(MethodContext& context);

enum class Encryption {
  kNone,
  kDeviceInfo,  // parameters in "encryptedDeviceInfo"
  kData,        // credentials in "encryptedData"
};

struct MethodEntry {
  std::string_view name;
  MethodHandler handler;
  Encryption encryption = Encryption::kNone;
};

// The methods of each group, defined beside their handlers.
std::span<const MethodEntry> AccountMethods();
std::span<const MethodEntry> AccountsMethods();
std::span<const MethodEntry> AccountUsersMethods();
std::span<const MethodEntry> RoleAndPrivilegeMethods();
std::span<const MethodEntry> TeamMethods();
std::span<const MethodEntry> LiveTrackingMethods();
std::span<const MethodEntry> TeamTripMethods();
std::span<const MethodEntry> ResellerMethods();
std::span<const MethodEntry> StorageCredentialMethods();
std::span<const MethodEntry> TripMethods();
std::span<const MethodEntry> SearchMethods();
std::span<const MethodEntry> WeatherMethods();

// The method of that name (any case); null when the service has none.
const MethodEntry* FindMethod(std::string_view name);
// Every method, for listing and tests.
std::span<const MethodEntry* const> AllMethods();

}  // namespace velinst::service
