// The keys and values under one root key, in memory: the host's registry
// store reads it from its file, changes it and writes it back.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velinst {

struct RegistryValue {
  std::string name;  // empty: the key's default value
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct RegistryKeyRecord {
  std::string path;                   // below the root, elements joined by backslashes; empty for the root
  std::vector<RegistryValue> values;  // in the order they were first set

  const RegistryValue* FindValue(std::string_view name) const;
  // Replaces a value of that name (letter case ignored) in place, or appends one.
  void SetValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);
  bool DeleteValue(std::string_view name);
};

// Key paths compare without regard to letter case, as the registry's do.
class RegistryTree {
 public:
  RegistryTree();

  const RegistryKeyRecord* Find(std::string_view path) const;
  RegistryKeyRecord* Find(std::string_view path);
  // The key, created with every missing parent.
  RegistryKeyRecord& Create(std::string_view path);
  bool HasSubkeys(std::string_view path) const;
  // Removes a key other than the root with everything below it.
  bool Remove(std::string_view path);
  // The names of the key's direct subkeys, in order.
  std::vector<std::string> SubkeyNames(std::string_view path) const;

  // Every key, the root first, parents before their subkeys.
  const std::map<std::string, RegistryKeyRecord>& Keys() const { return keys_; }

 private:
  std::map<std::string, RegistryKeyRecord> keys_;  // by folded path
};

// A subkey text as the registry takes it, in the tree's form: elements
// joined by single backslashes, empty elements dropped.
std::string NormalizeKeyPath(std::string_view subkey);

}  // namespace velinst
