// Bytes read by offset from a file or from memory, never past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
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

// Through the C run-time's files, not a file stream: a stream would bring
// the iostream and locale machinery into the DLL: 800 KB of 1.7 MB.
// Font files are far below the 2 GiB that its offsets reach.
class FileBytes final : public ByteSource {
 public:
  // False when the file cannot be opened for reading or is 2 GiB or more.
  bool Open(const char* path);
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::uint64_t size_ = 0;
};

}  // namespace velinst
