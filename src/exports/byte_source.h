// Bytes read by offset from a file or from memory, never past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>

namespace velinst {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads exactly `out.size()` bytes at `offset`; false, reading nothing,
  // when the source does not hold them all.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;

  bool Holds(std::uint64_t offset, std::uint64_t length) const { return offset <= Size() && length <= Size() - offset; }
};

class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

class FileBytes final : public ByteSource {
 public:
  // False when the file cannot be opened for reading.
  bool Open(const char* path);
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::ifstream file_;
  std::uint64_t size_ = 0;
};

}  // namespace velinst
