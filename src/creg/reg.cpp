#include "creg/reg.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "creg/registry_api.h"

namespace velinst {

using platform::kRegistrySuccess;
using platform::RegistryAccess;
using platform::RegistryRoot;

namespace {

constexpr std::uint32_t kSmallBuffer = 256;
// "%.12f" of any double fits: 309 integer digits, sign, point, 12 decimals.
constexpr std::size_t kDoubleTextCapacity = 330;
constexpr std::uint32_t kCountNameCapacity = 512;

// The decimal number a text begins with, as atoi reads it (white space and
// a sign first; no digits give 0), held to the 32-bit range.
std::uint32_t LeadingNumber(const char* text, std::size_t size) {
  std::size_t at = 0;
  while (at < size && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < size && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::int64_t value = 0;
  for (; at < size && text[at] >= '0' && text[at] <= '9'; ++at)
    if (value <= 0xFFFFFFFFll) value = value * 10 + (text[at] - '0');
  if (negative) return value > 0x80000000ll ? 0x80000000u : static_cast<std::uint32_t>(-value);
  return value > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

std::uint32_t LittleEndian32(const std::uint8_t* data) {
  return std::uint32_t{data[0]} | (std::uint32_t{data[1]} << 8) | (std::uint32_t{data[2]} << 16) |
         (std::uint32_t{data[3]} << 24);
}

std::size_t FormatFixed12(double value, char (&text)[kDoubleTextCapacity]) {
  const auto result = std::to_chars(text, text + kDoubleTextCapacity - 1, value, std::chars_format::fixed, 12);
  *result.ptr = '\0';
  return static_cast<std::size_t>(result.ptr - text);
}

// strtod's reading: leading white space and a '+' allowed, 0 without a number.
double ParseDouble(const char* text, std::size_t size) {
  std::size_t at = 0;
  while (at < size && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  if (at < size && text[at] == '+') ++at;
  double value = 0;
  std::from_chars(text + at, text + size, value);
  return value;
}

void CopyBounded(char* buffer, std::uint32_t size, const char* text) {
  const std::size_t length = text != nullptr ? ::strnlen(text, size - 1) : 0;
  if (length != 0) std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

}  // namespace

CReg::CReg(CReg&& other) noexcept
    : key_(std::move(other.key_)), index_(std::exchange(other.index_, 0)), mode_(other.mode_) {}

CReg& CReg::operator=(CReg&& other) noexcept {
  key_ = std::move(other.key_);
  index_ = std::exchange(other.index_, 0);
  mode_ = other.mode_;
  return *this;
}

bool CReg::Open(RegistryRoot root, const char* subkey, bool forWriting) {
  key_.Reset();
  const RegistryAccess access = forWriting ? RegistryAccess::kAll : RegistryAccess::kRead;
  if (platform::RegistryOpenKey(root, subkey, access, key_.Receive()) == kRegistrySuccess) return true;
  if (forWriting && platform::RegistryCreateKey(root, subkey, access, key_.Receive()) == kRegistrySuccess) return true;
  key_.Reset();
  return false;
}

bool CReg::OpenClassesRoot(const char* subkey, bool forWriting) {
  return Open(RegistryRoot::kClassesRoot, subkey, forWriting);
}
bool CReg::OpenCurrentUser(const char* subkey, bool forWriting) {
  return Open(RegistryRoot::kCurrentUser, subkey, forWriting);
}
bool CReg::OpenLocalMachine(const char* subkey, bool forWriting) {
  return Open(RegistryRoot::kLocalMachine, subkey, forWriting);
}
bool CReg::OpenUsers(const char* subkey, bool forWriting) { return Open(RegistryRoot::kUsers, subkey, forWriting); }
bool CReg::OpenCurrentConfig(const char* subkey, bool forWriting) {
  return Open(RegistryRoot::kCurrentConfig, subkey, forWriting);
}

void CReg::Close() { key_.Reset(); }

bool CReg::SetValue(const char* name, std::int32_t value) { return SetValue(name, static_cast<std::uint32_t>(value)); }

bool CReg::SetValue(const char* name, std::uint32_t value) {
  const std::uint8_t data[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return platform::RegistrySetValue(key_.Get(), name, platform::kRegDword, data, sizeof data) == kRegistrySuccess;
}

bool CReg::SetValue(const char* name, const char* text) {
  if (text == nullptr) return false;
  return platform::RegistrySetValue(key_.Get(), name, platform::kRegSz, reinterpret_cast<const std::uint8_t*>(text),
                                    static_cast<std::uint32_t>(std::strlen(text) + 1)) == kRegistrySuccess;
}

bool CReg::SetValue(const char* name, char character) {
  const char text[2] = {character, '\0'};
  return SetValue(name, text);
}

bool CReg::SetValue(const char* name, double value) {
  char text[kDoubleTextCapacity];
  FormatFixed12(value, text);
  return SetValue(name, static_cast<const char*>(text));
}

bool CReg::ReadSmall(const char* name, std::uint32_t& type, std::uint8_t (&data)[kSmallBuffer], std::uint32_t& size) {
  // First as text (the type tells), else the raw bytes of whatever is stored.
  size = kSmallBuffer;
  if (platform::RegistryQueryValue(key_.Get(), name, &type, data, &size) == kRegistrySuccess &&
      type == platform::kRegSz)
    return true;
  type = platform::kRegNone;
  size = kSmallBuffer;
  return platform::RegistryQueryValue(key_.Get(), name, nullptr, data, &size) == kRegistrySuccess;
}

bool CReg::GetValue(const char* name, std::uint32_t& value, std::uint32_t defaultValue) {
  std::uint8_t data[kSmallBuffer] = {};
  std::uint32_t type = 0, size = 0;
  if (!ReadSmall(name, type, data, size)) {
    value = defaultValue;
    return false;
  }
  const auto* text = reinterpret_cast<const char*>(data);
  value = type == platform::kRegSz ? LeadingNumber(text, ::strnlen(text, size)) : LittleEndian32(data);
  return true;
}

bool CReg::GetValue(const char* name, std::int32_t& value, std::int32_t defaultValue) {
  std::uint32_t read = 0;
  const bool found = GetValue(name, read, static_cast<std::uint32_t>(defaultValue));
  value = static_cast<std::int32_t>(read);
  return found;
}

bool CReg::GetValue(const char* name, char& character, char defaultCharacter) {
  std::uint8_t data[kSmallBuffer] = {};
  std::uint32_t type = 0, size = 0;
  if (!ReadSmall(name, type, data, size)) {
    character = defaultCharacter;
    return false;
  }
  character = static_cast<char>(data[0]);
  return true;
}

bool CReg::GetValue(const char* name, char* buffer, std::uint32_t size, const char* defaultText) {
  if (buffer == nullptr || size == 0) return false;
  std::uint32_t stored = size;
  if (platform::RegistryQueryValue(key_.Get(), name, nullptr, reinterpret_cast<std::uint8_t*>(buffer), &stored) ==
      kRegistrySuccess) {
    // Data stored without a terminator get one where there is room; the
    // caller never receives an unterminated text.
    if (stored < size) {
      buffer[stored] = '\0';
      return true;
    }
    if (buffer[size - 1] == '\0') return true;
  }
  CopyBounded(buffer, size, defaultText);
  return false;
}

bool CReg::GetValue(const char* name, std::string& text) {
  std::uint32_t size = 0;
  if (platform::RegistryQueryValue(key_.Get(), name, nullptr, nullptr, &size) != kRegistrySuccess) return false;
  std::vector<char> data(std::size_t{size} + 1, '\0');
  if (platform::RegistryQueryValue(key_.Get(), name, nullptr, reinterpret_cast<std::uint8_t*>(data.data()), &size) !=
      kRegistrySuccess)
    return false;
  text.assign(data.data(), ::strnlen(data.data(), size));
  return true;
}

bool CReg::GetValue(const char* name, double& value, double defaultValue) {
  char fallback[kDoubleTextCapacity];
  const std::size_t fallbackLength = FormatFixed12(defaultValue, fallback);
  char data[kSmallBuffer] = {};
  std::uint32_t size = kSmallBuffer;
  const bool found = platform::RegistryQueryValue(key_.Get(), name, nullptr, reinterpret_cast<std::uint8_t*>(data),
                                                  &size) == kRegistrySuccess;
  value = found ? ParseDouble(data, ::strnlen(data, size)) : ParseDouble(fallback, fallbackLength);
  return found;
}

bool CReg::EnumFirst(int mode, char* name, std::uint32_t* nameCapacity, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* dataSize) {
  mode_ = mode;
  index_ = 0;
  return EnumNext(name, nameCapacity, type, data, dataSize);
}

bool CReg::EnumNext(char* name, std::uint32_t* nameCapacity, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* dataSize) {
  const std::uint32_t index = index_++;
  if (name == nullptr || nameCapacity == nullptr) return false;
  if (mode_ != kEnumValues) return platform::RegistryEnumKey(key_.Get(), index, name, nameCapacity) == kRegistrySuccess;
  return platform::RegistryEnumValue(key_.Get(), index, name, nameCapacity, type, data, dataSize) == kRegistrySuccess;
}

std::uint32_t CReg::CountEntries(int mode) {
  mode_ = mode;
  index_ = 0;
  std::uint32_t count = 0;
  char name[kCountNameCapacity];
  for (;;) {
    std::uint32_t capacity = kCountNameCapacity;
    if (!EnumNext(name, &capacity, nullptr, nullptr, nullptr)) return count;
    ++count;
  }
}

bool CReg::DeleteValue(const char* name) {
  return name != nullptr && platform::RegistryDeleteValue(key_.Get(), name) == kRegistrySuccess;
}

bool CReg::DeleteKey(const char* subkey, bool withSubtree) {
  if (subkey == nullptr) return false;
  const std::uint32_t status =
      withSubtree ? platform::RegistryDeleteTree(key_.Get(), subkey) : platform::RegistryDeleteKey(key_.Get(), subkey);
  return status == kRegistrySuccess;
}

bool CReg::Flush() { return platform::RegistryFlushKey(key_.Get()) == kRegistrySuccess; }

}  // namespace velinst
