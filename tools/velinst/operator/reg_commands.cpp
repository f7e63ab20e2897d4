// velinst reg: the registry through CReg, the library's own access layer.
// On the host this is the way to see and edit the file-backed store.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "command.h"
#include "creg/reg.h"
#include "creg/reg_script.h"
#include "platform/ascii_text.h"

namespace velinst::cli {
namespace {

using platform::RegistryRoot;

constexpr std::uint32_t kShownDataCapacity = 1 << 16;

const char* TypeName(std::uint32_t type) {
  switch (type) {
    case platform::kRegNone:
      return "REG_NONE";
    case platform::kRegSz:
      return "REG_SZ";
    case platform::kRegExpandSz:
      return "REG_EXPAND_SZ";
    case platform::kRegBinary:
      return "REG_BINARY";
    case platform::kRegDword:
      return "REG_DWORD";
    case platform::kRegMultiSz:
      return "REG_MULTI_SZ";
    case platform::kRegQword:
      return "REG_QWORD";
    default:
      return "REG_OTHER";
  }
}

std::string ShowData(std::uint32_t type, const std::uint8_t* data, std::uint32_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  if ((type == platform::kRegSz || type == platform::kRegExpandSz) && size != 0)
    return std::string(text, ::strnlen(text, size));
  if (type == platform::kRegMultiSz) {
    std::string shown;
    for (std::uint32_t at = 0; at < size && text[at] != '\0';) {
      const std::size_t length = ::strnlen(text + at, size - at);
      if (!shown.empty()) shown += "\\0";
      shown.append(text + at, length);
      at += static_cast<std::uint32_t>(length) + 1;
    }
    return shown;
  }
  if (type == platform::kRegDword && size == 4) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%x",
                  data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned>(data[3]) << 24));
    return number;
  }
  std::string hex;
  char byte[4];
  for (std::uint32_t i = 0; i < size; ++i) {
    std::snprintf(byte, sizeof byte, "%02X", data[i]);
    hex += byte;
  }
  return hex;
}

std::string FullName(RegistryRoot root, const std::string& path) {
  return std::string(RootName(root)) + (path.empty() ? "" : "\\" + path);
}

// A value name given on the command line: "" or "@" is the default value.
std::string ValueName(const std::string& argument) { return argument == "@" ? std::string() : argument; }

int Query(RegistryRoot root, const std::string& path, const std::string* only) {
  CReg reg;
  if (!reg.Open(root, path.c_str(), false)) {
    std::fprintf(stderr, "velinst reg: no key %s\n", FullName(root, path).c_str());
    return 1;
  }
  const std::uint32_t values = reg.CountEntries(CReg::kEnumValues);
  std::vector<std::uint8_t> data(kShownDataCapacity);
  char name[512];
  bool shownOnly = false;
  if (only == nullptr) std::printf("%s\n", FullName(root, path).c_str());
  for (std::uint32_t index = 0; index < values; ++index) {
    std::uint32_t capacity = sizeof name, type = 0, size = kShownDataCapacity;
    const bool read = index == 0 ? reg.EnumFirst(CReg::kEnumValues, name, &capacity, &type, data.data(), &size)
                                 : reg.EnumNext(name, &capacity, &type, data.data(), &size);
    if (!read) {
      if (only == nullptr) std::printf("    (a value too large to show)\n");
      continue;
    }
    if (only != nullptr && !EqualIgnoringAsciiCase(name, ValueName(*only))) continue;
    shownOnly = true;
    std::printf("    %s    %s    %s\n", *name != '\0' ? name : "(Default)", TypeName(type),
                ShowData(type, data.data(), size).c_str());
  }
  if (only != nullptr) {
    if (!shownOnly)
      std::fprintf(stderr, "velinst reg: no value '%s' in %s\n", only->c_str(), FullName(root, path).c_str());
    return shownOnly ? 0 : 1;
  }
  const std::uint32_t subkeys = reg.CountEntries(CReg::kEnumSubkeys);
  for (std::uint32_t index = 0; index < subkeys; ++index) {
    std::uint32_t capacity = sizeof name;
    const bool read = index == 0 ? reg.EnumFirst(CReg::kEnumSubkeys, name, &capacity, nullptr, nullptr, nullptr)
                                 : reg.EnumNext(name, &capacity, nullptr, nullptr, nullptr);
    if (read) std::printf("%s\\%s\n", FullName(root, path).c_str(), name);
  }
  return 0;
}

int Set(RegistryRoot root, const std::string& path, const Invocation& invocation) {
  CReg reg;
  if (!reg.Open(root, path.c_str(), true)) {
    std::fprintf(stderr, "velinst reg: cannot open or create %s\n", FullName(root, path).c_str());
    return 1;
  }
  if (invocation.Arguments().size() < 3) return 0;
  const std::string name = ValueName(invocation.Argument(2));
  const std::string data = invocation.ArgumentOr(3, "");
  // "dword:2a" as in a registry script; anything else is text.
  static constexpr std::string_view kDword = "dword:";
  bool written = false;
  if (data.rfind(kDword, 0) == 0) {
    const std::string_view digits = std::string_view(data).substr(kDword.size());
    std::uint32_t number = 0;
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    if (digits.empty() || digits.size() > 8 || parsed.ptr != digits.data() + digits.size()) {
      std::fprintf(stderr, "velinst reg: %s is no dword (dword: and 1 to 8 hexadecimal digits)\n", data.c_str());
      return 2;
    }
    written = reg.SetValue(name.c_str(), number);
  } else {
    written = reg.SetValue(name.c_str(), data.c_str());
  }
  if (!written) std::fprintf(stderr, "velinst reg: cannot set %s in %s\n", name.c_str(), FullName(root, path).c_str());
  return written ? 0 : 1;
}

int Delete(RegistryRoot root, const std::string& path, const Invocation& invocation) {
  CReg reg;
  if (invocation.Arguments().size() >= 3) {
    const std::string name = ValueName(invocation.Argument(2));
    // Opening for writing would create a missing key: look for it first.
    const bool deleted =
        reg.Open(root, path.c_str(), false) && reg.Open(root, path.c_str(), true) && reg.DeleteValue(name.c_str());
    if (!deleted)
      std::fprintf(stderr, "velinst reg: no value '%s' in %s\n", name.c_str(), FullName(root, path).c_str());
    return deleted ? 0 : 1;
  }
  if (path.empty()) {
    std::fprintf(stderr, "velinst reg: a root key cannot be deleted\n");
    return 2;
  }
  const std::size_t cut = path.rfind('\\');
  const std::string parent = cut == std::string::npos ? std::string() : path.substr(0, cut);
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  const bool deleted = reg.Open(root, parent.c_str(), false) && reg.DeleteKey(name.c_str(), true);
  if (!deleted) std::fprintf(stderr, "velinst reg: cannot delete %s\n", FullName(root, path).c_str());
  return deleted ? 0 : 1;
}

int Reg(const Invocation& invocation) {
  const std::string& verb = invocation.Argument(0);
  const std::string& key = invocation.Argument(1);
  if (verb == "import" && invocation.Arguments().size() == 2) return ImportRegFile(key.c_str()) ? 0 : 1;
  RegistryRoot root;
  std::string path;
  if (!ParseKeyName(key, root, path)) {
    std::fprintf(stderr, "velinst reg: '%s' does not start with a root key (HKEY_CURRENT_USER or HKCU, ...)\n",
                 key.c_str());
    return 2;
  }
  if (verb == "query" && invocation.Arguments().size() <= 3) {
    const std::string only = invocation.ArgumentOr(2, "");
    return Query(root, path, invocation.Arguments().size() == 3 ? &only : nullptr);
  }
  if (verb == "set") return Set(root, path, invocation);
  if (verb == "delete" && invocation.Arguments().size() <= 3) return Delete(root, path, invocation);
  std::fprintf(stderr, "usage: velinst reg query|set|delete|import KEY [VALUE [DATA]]\n");
  return 2;
}

const CommandRegistration kRegistration({"reg", "query|set|delete|import KEY [VALUE [DATA]]",
                                         "read or change the registry (the host's store) through the library's CReg",
                                         nullptr, 2, 4, Reg});

}  // namespace
}  // namespace velinst::cli
