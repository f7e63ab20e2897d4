// The registry calls behind CReg: the Windows registry, or on the host a
// store of registry-script files (one per root key). Each call returns the
// registry's status: kRegistrySuccess, else an error value of the platform
// (compare through the constants of platform/last_error.h).
#pragma once

#include <cstdint>
#include <utility>

namespace velinst::platform {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };
enum class RegistryAccess { kRead, kAll };

inline constexpr std::uint32_t kRegistrySuccess = 0;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// An open key (HKEY on Windows); null when none.
struct RegistryKeyHandle;
using RegistryKey = RegistryKeyHandle*;

std::uint32_t RegistryOpenKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key);
// Opens the key, creating it (and its parents) when missing.
std::uint32_t RegistryCreateKey(RegistryRoot root, const char* subkey, RegistryAccess access, RegistryKey& key);
std::uint32_t RegistryCloseKey(RegistryKey key);

// RegQueryValueExA: with `data` null only the type and size are reported;
// data larger than *size give kErrorMoreData and the size needed.
std::uint32_t RegistryQueryValue(RegistryKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size);
std::uint32_t RegistrySetValue(RegistryKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size);
std::uint32_t RegistryDeleteValue(RegistryKey key, const char* name);

// The name of the subkey or value at `index` into `name` (*capacity
// characters, terminator included; on success the length). Past the last
// entry: kErrorNoMoreItems; a name that does not fit: kErrorMoreData.
std::uint32_t RegistryEnumKey(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity);
std::uint32_t RegistryEnumValue(RegistryKey key, std::uint32_t index, char* name, std::uint32_t* capacity,
                                std::uint32_t* type, std::uint8_t* data, std::uint32_t* size);

// Deletes a subkey that has no subkeys of its own; the tree form deletes
// it with everything below it.
std::uint32_t RegistryDeleteKey(RegistryKey key, const char* subkey);
std::uint32_t RegistryDeleteTree(RegistryKey key, const char* subkey);
std::uint32_t RegistryFlushKey(RegistryKey key);

// Owner of an open key: closed exactly once.
class UniqueRegistryKey {
 public:
  UniqueRegistryKey() = default;
  UniqueRegistryKey(const UniqueRegistryKey&) = delete;
  UniqueRegistryKey& operator=(const UniqueRegistryKey&) = delete;
  UniqueRegistryKey(UniqueRegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  UniqueRegistryKey& operator=(UniqueRegistryKey&& other) noexcept {
    if (this != &other) {
      Reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ~UniqueRegistryKey() { Reset(); }

  RegistryKey Get() const { return key_; }
  // The slot an opening call fills; any key held is closed first.
  RegistryKey& Receive() {
    Reset();
    return key_;
  }
  void Reset() {
    if (key_ != nullptr) RegistryCloseKey(std::exchange(key_, nullptr));
  }

 private:
  RegistryKey key_ = nullptr;
};

}  // namespace velinst::platform
