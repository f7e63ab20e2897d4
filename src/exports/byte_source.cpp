#include "exports/byte_source.h"

#include <cstring>

namespace velinst {

bool MemoryBytes::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!Holds(offset, out.size())) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

bool FileBytes::Open(const char* path) {
  file_.open(path, std::ios::binary);
  if (!file_) return false;
  file_.seekg(0, std::ios::end);
  const std::streamoff end = file_.tellg();
  if (!file_ || end < 0) return false;
  size_ = static_cast<std::uint64_t>(end);
  return true;
}

bool FileBytes::Read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (!Holds(offset, out.size())) return false;
  if (out.empty()) return true;
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(offset));
  file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<std::size_t>(file_.gcount()) == out.size();
}

}  // namespace velinst
