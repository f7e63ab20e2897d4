#include "creg/registry_tree.h"

#include <algorithm>

#include "platform/ascii_text.h"

namespace velinst {

namespace {

constexpr char kSeparator = '\\';

std::string Fold(std::string_view path) {
  std::string folded(path);
  std::transform(folded.begin(), folded.end(), folded.begin(), AsciiLower);
  return folded;
}

// The folded prefix shared by every key below `path`.
std::string SubkeyPrefix(std::string_view path) { return path.empty() ? std::string() : Fold(path) + kSeparator; }

}  // namespace

const RegistryValue* RegistryKeyRecord::FindValue(std::string_view name) const {
  for (const RegistryValue& value : values)
    if (EqualIgnoringAsciiCase(value.name, name)) return &value;
  return nullptr;
}

void RegistryKeyRecord::SetValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data) {
  for (RegistryValue& value : values) {
    if (EqualIgnoringAsciiCase(value.name, name)) {
      value.type = type;
      value.data = std::move(data);
      return;
    }
  }
  values.push_back(RegistryValue{std::string(name), type, std::move(data)});
}

bool RegistryKeyRecord::DeleteValue(std::string_view name) {
  const auto found = std::find_if(values.begin(), values.end(),
                                  [&](const RegistryValue& value) { return EqualIgnoringAsciiCase(value.name, name); });
  if (found == values.end()) return false;
  values.erase(found);
  return true;
}

RegistryTree::RegistryTree() { keys_.emplace(std::string(), RegistryKeyRecord{}); }

const RegistryKeyRecord* RegistryTree::Find(std::string_view path) const {
  const auto found = keys_.find(Fold(path));
  return found == keys_.end() ? nullptr : &found->second;
}

RegistryKeyRecord* RegistryTree::Find(std::string_view path) {
  const auto found = keys_.find(Fold(path));
  return found == keys_.end() ? nullptr : &found->second;
}

RegistryKeyRecord& RegistryTree::Create(std::string_view path) {
  if (RegistryKeyRecord* existing = Find(path)) return *existing;
  const std::size_t cut = path.rfind(kSeparator);
  if (cut != std::string_view::npos) Create(path.substr(0, cut));
  RegistryKeyRecord& record = keys_[Fold(path)];
  record.path = std::string(path);
  return record;
}

// Keys below a key share its prefix, so they lie together in the map.
bool RegistryTree::HasSubkeys(std::string_view path) const {
  const std::string prefix = SubkeyPrefix(path);
  const auto first = keys_.lower_bound(prefix);
  for (auto entry = first; entry != keys_.end() && entry->first.starts_with(prefix); ++entry)
    if (!entry->first.empty()) return true;
  return false;
}

bool RegistryTree::Remove(std::string_view path) {
  if (path.empty() || keys_.erase(Fold(path)) == 0) return false;
  const std::string prefix = SubkeyPrefix(path);
  auto entry = keys_.lower_bound(prefix);
  while (entry != keys_.end() && entry->first.starts_with(prefix)) entry = keys_.erase(entry);
  return true;
}

std::vector<std::string> RegistryTree::SubkeyNames(std::string_view path) const {
  const std::string prefix = SubkeyPrefix(path);
  std::vector<std::string> names;
  for (auto entry = keys_.lower_bound(prefix); entry != keys_.end() && entry->first.starts_with(prefix); ++entry) {
    if (entry->first.empty()) continue;  // the root itself
    const std::string_view rest = std::string_view(entry->second.path).substr(prefix.size());
    if (rest.find(kSeparator) == std::string_view::npos) names.emplace_back(rest);
  }
  return names;
}

std::string NormalizeKeyPath(std::string_view subkey) {
  std::string path;
  while (!subkey.empty()) {
    const std::size_t cut = std::min(subkey.find(kSeparator), subkey.size());
    if (cut != 0) {
      if (!path.empty()) path += kSeparator;
      path.append(subkey.substr(0, cut));
    }
    subkey.remove_prefix(std::min(cut + 1, subkey.size()));
  }
  return path;
}

}  // namespace velinst
