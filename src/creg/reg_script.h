// The registry-script text format ("Windows Registry Editor Version 5.00"):
// sections naming a key ("[HKEY_CURRENT_USER\Software\Vendor]", or with a
// '-' after the bracket to delete it) followed by value lines:
//   "Name"="text"         REG_SZ (backslash and quote escaped by a backslash)
//   @=...                 the key's default value
//   "Name"=dword:0000002a REG_DWORD
//   "Name"=hex:01,ff      REG_BINARY; hex(N): any other type N
//   "Name"=-              deletes the value
// Hex lists may continue on the next line after a trailing backslash;
// lines starting with ';' are comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "creg/registry_api.h"
#include "creg/registry_tree.h"

namespace velinst {

inline constexpr std::string_view kRegistryScriptHeader = "Windows Registry Editor Version 5.00";

struct ScriptValue {
  std::string name;
  bool remove = false;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
};

struct ScriptSection {
  platform::RegistryRoot root = platform::RegistryRoot::kCurrentUser;
  std::string path;  // as NormalizeKeyPath gives it
  bool removeKey = false;
  std::vector<ScriptValue> values;
};

// "HKEY_CURRENT_USER" and the short forms ("HKCU", "HKLM", "HKCR", "HKU", "HKCC").
std::string_view RootName(platform::RegistryRoot root);
bool ParseRootName(std::string_view text, platform::RegistryRoot& root);
// A full key name: a root name, optionally followed by a backslash and the path.
bool ParseKeyName(std::string_view text, platform::RegistryRoot& root, std::string& path);

// Parses a whole script. On failure `error` names the line and the fault,
// and nothing of the script is to be used.
bool ParseRegistryScript(std::string_view text, std::vector<ScriptSection>& sections, std::string& error);

void ApplySection(const ScriptSection& section, RegistryTree& tree);

// The script of every key and value of the tree under `root`.
std::string FormatRegistryScript(platform::RegistryRoot root, const RegistryTree& tree);

}  // namespace velinst
