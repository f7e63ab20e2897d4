#include "creg/registry_api.h"

#include <shlwapi.h>
#include <windows.h>

namespace velinst::platform {

namespace {

HKEY Handle(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

HKEY RootHandle(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
    case RegistryRoot::kCurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

REGSAM Mask(RegistryAccess access) { return access == RegistryAccess::kAll ? KEY_ALL_ACCESS : KEY_READ; }

// The calls take DWORD (unsigned long) counts; the interface has 32-bit ones.
class Count {
 public:
  explicit Count(std::uint32_t* value) : value_(value), count_(value != nullptr ? *value : 0) {}
  Count(const Count&) = delete;
  Count& operator=(const Count&) = delete;
  ~Count() {
    if (value_ != nullptr) *value_ = count_;
  }
  DWORD* Get() { return value_ != nullptr ? &count_ : nullptr; }

 private:
  std::uint32_t* value_;
  DWORD count_;
};

}  // namespace

std::uint32_t RegistryOpenKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExA(RootHandle(root), subkey, 0, Mask(access), &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(opened);
  return static_cast<std::uint32_t>(status);
}

std::uint32_t RegistryCreateKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key) {
  HKEY created = nullptr;
  const LSTATUS status = ::RegCreateKeyExA(RootHandle(root), subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, Mask(access),
                                           nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(created);
  return static_cast<std::uint32_t>(status);
}

std::uint32_t RegistryCloseKey(RegistryKey key) { return static_cast<std::uint32_t>(::RegCloseKey(Handle(key))); }

std::uint32_t RegistryQueryValue(RegistryKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) {
  Count typeOut(type), sizeOut(size);
  return static_cast<std::uint32_t>(::RegQueryValueExA(Handle(key), name, nullptr, typeOut.Get(), data, sizeOut.Get()));
}

std::uint32_t RegistrySetValue(RegistryKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
  return static_cast<std::uint32_t>(::RegSetValueExA(Handle(key), name, 0, type, data, size));
}

std::uint32_t RegistryDeleteValue(RegistryKey key, const char* name) {
  return static_cast<std::uint32_t>(::RegDeleteValueA(Handle(key), name));
}

std::uint32_t RegistryEnumKey(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity) {
  Count capacityOut(capacity);
  return static_cast<std::uint32_t>(
      ::RegEnumKeyExA(Handle(key), index, name, capacityOut.Get(), nullptr, nullptr, nullptr, nullptr));
}

std::uint32_t RegistryEnumValue(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
  Count capacityOut(capacity), typeOut(type), sizeOut(size);
  return static_cast<std::uint32_t>(
      ::RegEnumValueA(Handle(key), index, name, capacityOut.Get(), nullptr, typeOut.Get(), data, sizeOut.Get()));
}

std::uint32_t RegistryDeleteKey(RegistryKey key, const char* subkey) {
  return static_cast<std::uint32_t>(::RegDeleteKeyA(Handle(key), subkey));
}

std::uint32_t RegistryDeleteTree(RegistryKey key, const char* subkey) {
  return static_cast<std::uint32_t>(::SHDeleteKeyA(Handle(key), subkey));
}

std::uint32_t RegistryFlushKey(RegistryKey key) { return static_cast<std::uint32_t>(::RegFlushKey(Handle(key))); }

}  // namespace velinst::platform
