#include "creg/registry_api.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "creg/posix/registry_store.h"
#include "platform/last_error.h"

namespace velinst::platform {

// An open key of the host's store: its root and path, read afresh by every
// call (another process may have changed it meanwhile).
struct RegistryKeyHandle {
  RegistryRoot root;
  std::string path;
  RegistryAccess access;
};

namespace {

constexpr std::uint32_t kInvalidHandle = EBADF;

std::string SubkeyPath(const RegistryKeyHandle& key, const char* subkey) {
  const std::string below = NormalizeKeyPath(subkey != nullptr ? subkey : "");
  if (key.path.empty()) return below;
  return below.empty() ? key.path : key.path + '\\' + below;
}

// Names that the script format can hold: no line breaks.
bool IsStorableName(const char* name) { return name == nullptr || std::strpbrk(name, "\r\n") == nullptr; }

std::uint32_t Hand(RegistryRoot root, std::string path, RegistryAccess access, RegistryKey& key) {
  key = std::make_unique<RegistryKeyHandle>(RegistryKeyHandle{root, std::move(path), access}).release();
  return kRegistrySuccess;
}

// Copies a name into an enumeration's buffer, as RegEnumKeyExA does.
std::uint32_t CopyName(const std::string& text, char* name, std::uint32_t* capacity) {
  if (name == nullptr || capacity == nullptr) return kErrorInvalidParameter;
  if (text.size() + 1 > *capacity) return kErrorMoreData;
  std::memcpy(name, text.c_str(), text.size() + 1);
  *capacity = static_cast<std::uint32_t>(text.size());
  return kRegistrySuccess;
}

// Reports a value's type and data as RegQueryValueExA does.
std::uint32_t CopyValue(const RegistryValue& value, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
  if (type != nullptr) *type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data != nullptr) {
    if (size == nullptr) return kErrorInvalidParameter;
    if (*size < needed) {
      *size = needed;
      return kErrorMoreData;
    }
    if (needed != 0) std::memcpy(data, value.data.data(), needed);
  }
  if (size != nullptr) *size = needed;
  return kRegistrySuccess;
}

// Runs `read` on the key's record as the store holds it now.
template <typename Read>
std::uint32_t WithKey(RegistryKey key, Read&& read) {
  if (key == nullptr) return kInvalidHandle;
  RegistryTree tree;
  const std::uint32_t status = ReadRegistryTree(key->root, tree);
  if (status != kRegistrySuccess) return status;
  const RegistryKeyRecord* record = tree.Find(key->path);
  if (record == nullptr) return kErrorFileNotFound;  // deleted meanwhile
  return read(tree, *record);
}

// Runs `change` on the key's record under the store's lock.
template <typename Change>
std::uint32_t ChangeKey(RegistryKey key, bool needsWriteAccess, Change&& change) {
  if (key == nullptr) return kInvalidHandle;
  if (needsWriteAccess && key->access != RegistryAccess::kAll) return kErrorAccessDenied;
  return UpdateRegistryTree(key->root, [&](RegistryTree& tree, bool& changed) -> std::uint32_t {
    if (tree.Find(key->path) == nullptr) return kErrorFileNotFound;
    return change(tree, changed);
  });
}

}  // namespace

std::uint32_t RegistryOpenKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key) {
  RegistryTree tree;
  const std::uint32_t status = ReadRegistryTree(root, tree);
  if (status != kRegistrySuccess) return status;
  const std::string path = NormalizeKeyPath(subkey != nullptr ? subkey : "");
  const RegistryKeyRecord* record = tree.Find(path);
  if (record == nullptr) return kErrorFileNotFound;
  return Hand(root, record->path, access, key);
}

std::uint32_t RegistryCreateKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key) {
  if (!IsStorableName(subkey)) return kErrorInvalidParameter;
  const std::string path = NormalizeKeyPath(subkey != nullptr ? subkey : "");
  std::string created;
  const std::uint32_t status = UpdateRegistryTree(root, [&](RegistryTree& tree, bool& changed) {
    changed = tree.Find(path) == nullptr;
    created = tree.Create(path).path;
    return kRegistrySuccess;
  });
  if (status != kRegistrySuccess) return status;
  return Hand(root, created, access, key);
}

std::uint32_t RegistryCloseKey(RegistryKey key) {
  if (key == nullptr) return kInvalidHandle;
  std::unique_ptr<RegistryKeyHandle> owned(key);
  return kRegistrySuccess;
}

std::uint32_t RegistryQueryValue(RegistryKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) {
  return WithKey(key, [&](const RegistryTree&, const RegistryKeyRecord& record) {
    const RegistryValue* value = record.FindValue(name != nullptr ? name : "");
    return value == nullptr ? kErrorFileNotFound : CopyValue(*value, type, data, size);
  });
}

std::uint32_t RegistrySetValue(RegistryKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
  if (!IsStorableName(name) || (data == nullptr && size != 0)) return kErrorInvalidParameter;
  std::vector<std::uint8_t> bytes(data, data + size);
  return ChangeKey(key, true, [&](RegistryTree& tree, bool& changed) {
    tree.Find(key->path)->SetValue(name != nullptr ? name : "", type, std::move(bytes));
    changed = true;
    return kRegistrySuccess;
  });
}

std::uint32_t RegistryDeleteValue(RegistryKey key, const char* name) {
  return ChangeKey(key, true, [&](RegistryTree& tree, bool& changed) {
    changed = tree.Find(key->path)->DeleteValue(name != nullptr ? name : "");
    return changed ? kRegistrySuccess : kErrorFileNotFound;
  });
}

std::uint32_t RegistryEnumKey(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity) {
  return WithKey(key, [&](const RegistryTree& tree, const RegistryKeyRecord& record) {
    const std::vector<std::string> names = tree.SubkeyNames(record.path);
    return index < names.size() ? CopyName(names[index], name, capacity) : kErrorNoMoreItems;
  });
}

std::uint32_t RegistryEnumValue(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
  return WithKey(key, [&](const RegistryTree&, const RegistryKeyRecord& record) {
    if (index >= record.values.size()) return kErrorNoMoreItems;
    const RegistryValue& value = record.values[index];
    const std::uint32_t status = CopyName(value.name, name, capacity);
    return status != kRegistrySuccess ? status : CopyValue(value, type, data, size);
  });
}

std::uint32_t RegistryDeleteKey(RegistryKey key, const char* subkey) {
  if (key == nullptr) return kInvalidHandle;
  const std::string path = SubkeyPath(*key, subkey);
  if (path == key->path) return kErrorInvalidParameter;
  return ChangeKey(key, false, [&](RegistryTree& tree, bool& changed) {
    if (tree.Find(path) == nullptr) return kErrorFileNotFound;
    if (tree.HasSubkeys(path)) return kErrorAccessDenied;  // as the registry answers
    changed = tree.Remove(path);
    return kRegistrySuccess;
  });
}

std::uint32_t RegistryDeleteTree(RegistryKey key, const char* subkey) {
  if (key == nullptr) return kInvalidHandle;
  const std::string path = SubkeyPath(*key, subkey);
  if (path == key->path) return kErrorInvalidParameter;
  return ChangeKey(key, false, [&](RegistryTree& tree, bool& changed) {
    changed = tree.Remove(path);
    return changed ? kRegistrySuccess : kErrorFileNotFound;
  });
}

// Every change is on disk when its call returns.
std::uint32_t RegistryFlushKey(RegistryKey key) {
  return WithKey(key, [](const RegistryTree&, const RegistryKeyRecord&) { return kRegistrySuccess; });
}

}  // namespace velinst::platform
