#include "platform/drive_inventory.h"

#include <algorithm>
#include <cstring>

namespace velinst {

namespace {

// Offsets of the texts in the descriptor (little-endian 32-bit fields).
constexpr std::size_t kVendorOffsetField = 12;
constexpr std::size_t kProductOffsetField = 16;
constexpr std::size_t kSerialOffsetField = 24;

std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The text at the offset in the field, up to its NUL or the descriptor's end.
void TakeText(std::span<const std::uint8_t> descriptor, std::size_t field, std::string& text) {
  if (field + 4 > descriptor.size()) return;
  const std::uint32_t offset = LittleEndian32(descriptor, field);
  if (offset == 0 || offset >= descriptor.size()) return;
  const auto begin = descriptor.begin() + offset;
  text.assign(begin, std::find(begin, descriptor.end(), std::uint8_t{0}));
}

}  // namespace

std::vector<std::string> SplitDriveStrings(const char* list, std::size_t size) {
  std::vector<std::string> roots;
  std::size_t at = 0;
  while (at < size && list[at] != '\0') {
    const void* end = std::memchr(list + at, '\0', size - at);
    const std::size_t length = end != nullptr ? static_cast<const char*>(end) - (list + at) : size - at;
    roots.emplace_back(list + at, length);
    at += length + 1;
  }
  return roots;
}

void ReadDeviceDescriptor(std::span<const std::uint8_t> descriptor, DriveInventoryRecord& record) {
  TakeText(descriptor, kSerialOffsetField, record.serialNumber);
  TakeText(descriptor, kVendorOffsetField, record.vendorId);
  TakeText(descriptor, kProductOffsetField, record.productId);
}

}  // namespace velinst
