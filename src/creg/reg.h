// CReg: the owner of one open registry key, with typed reads (each with the
// caller's default), typed writes, enumeration and deletion. Every
// operation reports success as its result; nothing throws. The host keeps
// the registry in files of the registry-script format (see registry_store).
#pragma once

#include <cstdint>
#include <string>

#include "creg/registry_api.h"

namespace velinst {

class CReg {
 public:
  static constexpr int kEnumValues = 0;
  static constexpr int kEnumSubkeys = 1;

  CReg() = default;
  // One owner per key: moving hands it on, copying is not possible.
  CReg(CReg&& other) noexcept;
  CReg& operator=(CReg&& other) noexcept;

  // Opens an existing key (for reading, or with all access when
  // `forWriting`); for writing a missing key is created. Any key held
  // before is closed first.
  bool Open(platform::RegistryRoot root, const char* subkey, bool forWriting);
  bool OpenClassesRoot(const char* subkey, bool forWriting);
  bool OpenCurrentUser(const char* subkey, bool forWriting);
  bool OpenLocalMachine(const char* subkey, bool forWriting);
  bool OpenUsers(const char* subkey, bool forWriting);
  bool OpenCurrentConfig(const char* subkey, bool forWriting);
  void Close();
  bool IsOpen() const { return key_.Get() != nullptr; }

  // An empty value name addresses the key's default value. Integers are
  // written as REG_DWORD; texts, characters and doubles ("%.12f") as REG_SZ.
  bool SetValue(const char* name, std::int32_t value);
  bool SetValue(const char* name, std::uint32_t value);
  bool SetValue(const char* name, const char* text);
  bool SetValue(const char* name, char character);
  bool SetValue(const char* name, double value);

  // Integers and characters: a REG_SZ value gives its leading decimal
  // number (0 without digits) or first character; any other value its
  // first four bytes (little-endian) or first byte.
  bool GetValue(const char* name, std::int32_t& value, std::int32_t defaultValue);
  bool GetValue(const char* name, std::uint32_t& value, std::uint32_t defaultValue);
  // Into `buffer` of `size` bytes, as stored; the default text (cut to the
  // buffer) when the value is missing or does not fit with its terminator.
  bool GetValue(const char* name, char* buffer, std::uint32_t size, const char* defaultText);
  // Into `text`, up to the first NUL; `text` is unchanged on failure.
  bool GetValue(const char* name, std::string& text);
  // A failed read gives the default rounded to twelve decimals.
  bool GetValue(const char* name, double& value, double defaultValue);
  bool GetValue(const char* name, char& character, char defaultCharacter);

  // Enumerates subkeys (mode kEnumSubkeys: name only) or values (type and
  // data too, each output may be null). `nameCapacity` and `dataSize` are in
  // and out. The index advances on every call, produced or not.
  bool EnumFirst(int mode, char* name, std::uint32_t* nameCapacity, std::uint32_t* type, std::uint8_t* data,
                 std::uint32_t* dataSize);
  bool EnumNext(char* name, std::uint32_t* nameCapacity, std::uint32_t* type, std::uint8_t* data,
                std::uint32_t* dataSize);
  // The number of entries up to the first that cannot be read with a name
  // buffer of 512 bytes. An enumeration in progress restarts with EnumFirst.
  std::uint32_t CountEntries(int mode);

  bool DeleteValue(const char* name);
  // Deletes a subkey of the open key: only one without subkeys, or with
  // `withSubtree` everything below it too.
  bool DeleteKey(const char* subkey, bool withSubtree);
  bool Flush();

 private:
  bool ReadSmall(const char* name, std::uint32_t& type, std::uint8_t (&data)[256], std::uint32_t& size);

  platform::UniqueRegistryKey key_;
  std::uint32_t index_ = 0;
  int mode_ = kEnumValues;
};

// Imports a registry-script file: on Windows the system registry editor
// imports it silently; on the host it is read into the store. False, with a
// diagnostic on standard output naming the condition, when the editor or
// the file is missing or the editor cannot start. A script the editor
// rejects still gives true.
bool ImportRegFile(const char* path);

}  // namespace velinst
