#include "method_table.h"

#include <algorithm>
#include <vector>

#include "text_form.h"

namespace velinst::service {
namespace {

const std::vector<const MethodEntry*>& Table() {
  static const std::vector<const MethodEntry*> table = [] {
    std::vector<const MethodEntry*> entries;
    for (const auto group : {AccountMethods, AccountsMethods, AccountUsersMethods, RoleAndPrivilegeMethods, TeamMethods,
                             LiveTrackingMethods, TeamTripMethods, ResellerMethods, StorageCredentialMethods,
                             TripMethods, SearchMethods, WeatherMethods})
      for (const MethodEntry& entry : group()) entries.push_back(&entry);
    return entries;
  }();
  return table;
}

}  // namespace

const MethodEntry* FindMethod(std::string_view name) {
  const auto& table = Table();
  const auto found = std::find_if(table.begin(), table.end(),
                                  [&](const MethodEntry* entry) { return EqualsIgnoringCase(entry->name, name); });
  return found == table.end() ? nullptr : *found;
}

std::span<const MethodEntry* const> AllMethods() { return Table(); }

}  // namespace velinst::service
