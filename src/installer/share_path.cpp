#include "installer/share_path.h"

#include <cstdlib>
#include <cstring>

#include "installer/wide_text.h"

namespace velinst {

namespace {

// The C library's conversion of a name of at most 255 characters; false when
// it is longer or not valid in the current code page.
bool WidenName(const char* name, std::wstring& wide) {
  if (std::strlen(name) > kShareNameLimit) return false;
  wchar_t converted[kShareNameLimit + 1];
  const std::size_t length = std::mbstowcs(converted, name, kShareNameLimit + 1);
  if (length == static_cast<std::size_t>(-1) || length > kShareNameLimit) return false;
  wide.assign(converted, length);
  return true;
}

// The path, converted, when it fits whole with its terminator; else empty.
void WritePath(const std::wstring& path, char* buffer, std::size_t size) {
  buffer[0] = '\0';
  const std::size_t length = std::wcstombs(nullptr, path.c_str(), 0);
  if (length == static_cast<std::size_t>(-1) || length >= size) return;
  std::wcstombs(buffer, path.c_str(), size);
}

}  // namespace

int LocalPathOfShare(IShareEnumerator& shares, const char* server, const char* share, char* buffer, int size) {
  if (server == nullptr || share == nullptr || buffer == nullptr || size <= 0) return 0;
  const auto capacity = static_cast<std::size_t>(size);
  buffer[0] = '\0';
  std::wstring wideServer;
  std::wstring wideShare;
  if (!WidenName(server, wideServer) || !WidenName(share, wideShare)) return 0;

  std::uint32_t resume = 0;
  std::vector<ShareRecord> page;
  for (;;) {
    page.clear();
    const std::uint32_t status = shares.NextPage(wideServer, resume, page);
    if (status != 0 && status != kShareListMoreData) break;
    for (const ShareRecord& record : page) {
      if ((record.type & kSpecialShareBit) != 0) continue;
      if (EqualIgnoringCase(record.name, wideShare)) WritePath(record.localPath, buffer, capacity);
    }
    // A page that brings nothing cannot bring the end nearer either.
    if (status != kShareListMoreData || page.empty()) break;
  }
  return buffer[0] != '\0' ? 1 : 0;
}

}  // namespace velinst
