#include "installer/byte_source.h"

#include <cstring>

namespace velinst {

bool MemoryBytes::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!Holds(offset, out.size())) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

bool FileBytes::Open(const char* path) {
  file_.reset(std::fopen(path, "rb"));
  if (!file_ || std::fseek(file_.get(), 0, SEEK_END) != 0) return false;
  const long end = std::ftell(file_.get());
  if (end < 0) return false;
  size_ = static_cast<std::uint64_t>(end);
  return true;
}

bool FileBytes::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!Holds(offset, out.size())) return false;
  if (out.empty()) return true;
  // Holds() keeps the offset within the size, which ftell gave as a long.
  if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return false;
  return std::fread(out.data(), 1, out.size(), file_.get()) == out.size();
}

}  // namespace velinst
