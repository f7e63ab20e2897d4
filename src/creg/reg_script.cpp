#include "creg/reg_script.h"

#include <cstdio>

#include "platform/ascii_text.h"
#include "platform/utf8_encode.h"

namespace velinst {

using platform::RegistryRoot;

namespace {

struct RootNames {
  RegistryRoot root;
  std::string_view name;
  std::string_view shortName;
};

constexpr RootNames kRoots[] = {
    {RegistryRoot::kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegistryRoot::kCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegistryRoot::kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegistryRoot::kUsers, "HKEY_USERS", "HKU"},
    {RegistryRoot::kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
};

constexpr std::string_view kOldHeader = "REGEDIT4";
constexpr std::string_view kDword = "dword:";
constexpr std::string_view kHex = "hex";

// The registry editor exports scripts in UTF-16LE behind a byte-order
// mark; the store keeps UTF-8. False for an odd byte count or a lone
// surrogate.
bool Utf16LittleEndianToUtf8(std::string_view bytes, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  out.clear();
  out.reserve(bytes.size() / 2);
  const auto unit = [&bytes](std::size_t i) -> char32_t {
    return static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t code = unit(i);
    if (code >= 0xDC00 && code <= 0xDFFF) return false;
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 2 >= bytes.size()) return false;
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    platform::AppendUtf8(out, code);
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// 1 to `maxDigits` hexadecimal digits, the whole text.
bool ParseHexNumber(std::string_view text, std::size_t maxDigits, std::uint32_t& value) {
  if (text.empty() || text.size() > maxDigits) return false;
  value = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return true;
}

// A quoted text at the start of `text` (which is advanced past it).
bool ParseQuoted(std::string_view& text, std::string& out) {
  if (text.empty() || text.front() != '"') return false;
  out.clear();
  for (std::size_t at = 1; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"') {
      text.remove_prefix(at + 1);
      return true;
    }
    if (c == '\\') {
      if (++at == text.size() || (text[at] != '\\' && text[at] != '"')) return false;
      out += text[at];
    } else {
      out += c;
    }
  }
  return false;
}

bool ParseHexList(std::string_view text, std::vector<std::uint8_t>& data) {
  data.clear();
  text = Trim(text);
  if (text.empty()) return true;
  while (true) {
    const std::size_t comma = text.find(',');
    std::uint32_t byte = 0;
    if (!ParseHexNumber(Trim(text.substr(0, comma)), 2, byte)) return false;
    data.push_back(static_cast<std::uint8_t>(byte));
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
    if (Trim(text).empty()) return true;  // a trailing comma
  }
}

// `"name"=data` or `@=data`; false with the fault in `error`.
bool ParseValueLine(std::string_view line, ScriptValue& value, std::string& error) {
  if (line.front() == '@') {
    value.name.clear();
    line.remove_prefix(1);
  } else if (!ParseQuoted(line, value.name)) {
    error = "unterminated or badly escaped value name";
    return false;
  }
  line = Trim(line);
  if (line.empty() || line.front() != '=') {
    error = "'=' expected after the value name";
    return false;
  }
  line = Trim(line.substr(1));
  if (line == "-") {
    value.remove = true;
    return true;
  }
  if (!line.empty() && line.front() == '"') {
    std::string text;
    if (!ParseQuoted(line, text) || !Trim(line).empty()) {
      error = "unterminated or badly escaped text";
      return false;
    }
    value.type = platform::kRegSz;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return true;
  }
  if (line.size() >= kDword.size() && EqualIgnoringAsciiCase(line.substr(0, kDword.size()), kDword)) {
    std::uint32_t number = 0;
    if (!ParseHexNumber(line.substr(kDword.size()), 8, number)) {
      error = "dword needs 1 to 8 hexadecimal digits";
      return false;
    }
    value.type = platform::kRegDword;
    value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                  static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return true;
  }
  if (line.size() >= kHex.size() && EqualIgnoringAsciiCase(line.substr(0, kHex.size()), kHex)) {
    std::string_view rest = line.substr(kHex.size());
    value.type = platform::kRegBinary;
    if (!rest.empty() && rest.front() == '(') {
      const std::size_t close = rest.find(')');
      if (close == std::string_view::npos || !ParseHexNumber(rest.substr(1, close - 1), 8, value.type)) {
        error = "hex(N) needs a hexadecimal type number";
        return false;
      }
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':' || !ParseHexList(rest.substr(1), value.data)) {
      error = "hex data must be bytes in hexadecimal separated by commas";
      return false;
    }
    return true;
  }
  error = "unknown value data";
  return false;
}

bool IsPlainText(const std::vector<std::uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] < 0x20 || data[i] == 0x7F) return false;
  return true;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i != 0) out += ',';
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 15];
  }
}

}  // namespace

std::string_view RootName(RegistryRoot root) {
  for (const RootNames& names : kRoots)
    if (names.root == root) return names.name;
  return {};
}

bool ParseRootName(std::string_view text, RegistryRoot& root) {
  for (const RootNames& names : kRoots) {
    if (EqualIgnoringAsciiCase(text, names.name) || EqualIgnoringAsciiCase(text, names.shortName)) {
      root = names.root;
      return true;
    }
  }
  return false;
}

bool ParseKeyName(std::string_view text, RegistryRoot& root, std::string& path) {
  const std::size_t cut = text.find('\\');
  if (!ParseRootName(text.substr(0, cut), root)) return false;
  path = cut == std::string_view::npos ? std::string() : NormalizeKeyPath(text.substr(cut + 1));
  return true;
}

bool ParseRegistryScript(std::string_view text, std::vector<ScriptSection>& sections, std::string& error) {
  sections.clear();
  std::string decoded;
  if (text.starts_with("\xFF\xFE")) {
    if (!Utf16LittleEndianToUtf8(text.substr(2), decoded)) {
      error = "line 1: not a registry script (broken UTF-16 text)";
      return false;
    }
    text = decoded;
  } else if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  bool headerSeen = false;
  std::size_t lineNumber = 0;
  std::string joined;
  const auto fail = [&](const std::string& fault) {
    error = "line " + std::to_string(lineNumber) + ": " + fault;
    return false;
  };
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    // A trailing backslash continues a line (long hex lists).
    if (!line.empty() && line.back() == '\\' && line.front() != '[' && line.front() != ';') {
      joined.append(line.substr(0, line.size() - 1));
      if (!text.empty()) continue;
      line = {};
    }
    if (!joined.empty()) {
      joined.append(line);
      line = joined;
    }
    const std::string current(line);
    joined.clear();
    line = current;

    if (line.empty() || line.front() == ';') continue;
    if (!headerSeen) {
      if (line != kRegistryScriptHeader && line != kOldHeader) return fail("not a registry script");
      headerSeen = true;
      continue;
    }
    if (line.front() == '[') {
      if (line.back() != ']') return fail("']' expected at the end of the key name");
      std::string_view name = line.substr(1, line.size() - 2);
      ScriptSection section;
      if (!name.empty() && name.front() == '-') {
        section.removeKey = true;
        name.remove_prefix(1);
      }
      if (!ParseKeyName(name, section.root, section.path)) return fail("unknown root key");
      if (section.removeKey && section.path.empty()) return fail("a root key cannot be deleted");
      sections.push_back(std::move(section));
      continue;
    }
    if (line.front() != '"' && line.front() != '@') return fail("unexpected text");
    if (sections.empty()) return fail("a value before the first key");
    if (sections.back().removeKey) return fail("a value under a deleted key");
    ScriptValue value;
    std::string fault;
    if (!ParseValueLine(line, value, fault)) return fail(fault);
    sections.back().values.push_back(std::move(value));
  }
  if (!headerSeen) {
    error = "not a registry script";
    return false;
  }
  return true;
}

void ApplySection(const ScriptSection& section, RegistryTree& tree) {
  if (section.removeKey) {
    tree.Remove(section.path);
    return;
  }
  RegistryKeyRecord& key = tree.Create(section.path);
  for (const ScriptValue& value : section.values) {
    if (value.remove) {
      key.DeleteValue(value.name);
    } else {
      key.SetValue(value.name, value.type, value.data);
    }
  }
}

std::string FormatRegistryScript(RegistryRoot root, const RegistryTree& tree) {
  std::string out(kRegistryScriptHeader);
  out += "\n\n";
  for (const auto& [folded, key] : tree.Keys()) {
    out += '[';
    out += RootName(root);
    if (!key.path.empty()) out += '\\' + key.path;
    out += "]\n";
    for (const RegistryValue& value : key.values) {
      if (value.name.empty()) {
        out += '@';
      } else {
        AppendQuoted(out, value.name);
      }
      out += '=';
      if (value.type == platform::kRegSz && IsPlainText(value.data)) {
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size() - 1));
      } else if (value.type == platform::kRegDword && value.data.size() == 4) {
        char number[16];
        std::snprintf(number, sizeof number, "dword:%08x",
                      value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                          (static_cast<unsigned>(value.data[3]) << 24));
        out += number;
      } else {
        if (value.type == platform::kRegBinary) {
          out += "hex:";
        } else {
          char type[24];
          std::snprintf(type, sizeof type, "hex(%x):", value.type);
          out += type;
        }
        AppendHex(out, value.data);
      }
      out += '\n';
    }
    out += '\n';
  }
  return out;
}

}  // namespace velinst
