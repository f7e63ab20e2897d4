// The local folder behind a network share, from the server's list of shares.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velinst {

struct ShareRecord {
  std::wstring name;
  std::uint32_t type = 0;
  std::wstring localPath;
};

// The server's shares, one page per call (NetShareEnum at level 502 on
// Windows): fills `page` and returns 0, kShareListMoreData when another page
// follows (call again with the same resume handle), or the failure's code.
class IShareEnumerator {
 public:
  virtual ~IShareEnumerator() = default;
  virtual std::uint32_t NextPage(const std::wstring& server, std::uint32_t& resume, std::vector<ShareRecord>& page) = 0;
};

inline constexpr std::uint32_t kShareListMoreData = 234;  // ERROR_MORE_DATA
// Administrative and other special shares carry the type's high bit.
inline constexpr std::uint32_t kSpecialShareBit = 0x80000000u;
// Longest server or share name, in characters.
inline constexpr std::size_t kShareNameLimit = 255;

// Writes the local path of the share named `share` (any letter case; the last
// match wins; special shares never match) into `buffer` of `size` bytes:
// 1 when a path was written. 0 with an empty buffer when there is no such
// share, the list fails, a name is longer than 255 characters or the path
// does not fit; 0 touching nothing for a null argument or a size of 0.
int LocalPathOfShare(IShareEnumerator& shares, const char* server, const char* share, char* buffer, int size);

namespace platform {
// The system's share list (the host has none).
std::unique_ptr<IShareEnumerator> SystemShareEnumerator();
}  // namespace platform

}  // namespace velinst
