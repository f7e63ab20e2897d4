#include "installer/share_path.h"
#include "platform/cdos.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "velinst.h"

namespace velinst {
namespace {

// A server's share list handed out in pages of a fixed size, as a server
// with more shares than fit in one answer does.
class FakeShares final : public IShareEnumerator {
 public:
  explicit FakeShares(std::vector<ShareRecord> shares, std::size_t pageSize = 100)
      : shares_(std::move(shares)), pageSize_(pageSize) {}

  std::uint32_t NextPage(const std::wstring& server, std::uint32_t& resume, std::vector<ShareRecord>& page) override {
    servers.push_back(server);
    if (failure != 0) return failure;
    const std::size_t end = std::min(shares_.size(), resume + pageSize_);
    for (std::size_t i = resume; i < end; ++i) page.push_back(shares_[i]);
    resume = static_cast<std::uint32_t>(end);
    return end < shares_.size() ? kShareListMoreData : 0;
  }

  std::vector<std::wstring> servers;
  std::uint32_t failure = 0;

 private:
  std::vector<ShareRecord> shares_;
  std::size_t pageSize_;
};

const std::vector<ShareRecord> kShares = {
    {L"ADMIN$", 0x80000000u, L"C:\\Windows"}, {L"C$", 0x80000000u, L"C:\\"}, {L"IPC$", 0x80000003u, L""},
    {L"Maps", 0, L"D:\\Data\\Maps"},          {L"Setup", 0, L"E:\\Install"}, {L"Printer", 1, L""}};

// The result followed by the path found.
std::string Find(IShareEnumerator& shares, const char* server, const char* share, int size = 260) {
  std::string buffer(static_cast<std::size_t>(size) + 8, '#');
  const int result = LocalPathOfShare(shares, server, share, buffer.data(), size);
  const auto bound = static_cast<std::size_t>(size);
  EXPECT_LT(buffer.find('\0'), bound) << "left unterminated";
  EXPECT_EQ(buffer.substr(bound), std::string(8, '#')) << "written past the buffer";
  return std::to_string(result) + buffer.substr(0, buffer.find('\0'));
}

TEST(SharePath, FindsTheShareInAnyLetterCaseButNoSpecialShare) {
  FakeShares shares(kShares);
  for (const char* name : {"Maps", "mApS", "C$", "ADMIN$", "ipc$", "Map", "Mapsx", ""}) {
    const bool maps = CDOS::EqualIgnoringCase(name, "maps");
    EXPECT_EQ(Find(shares, "\\\\server", name), maps ? "1D:\\Data\\Maps" : "0") << name;
  }
  EXPECT_EQ(shares.servers.front(), L"\\\\server");
}

TEST(SharePath, SearchesEveryPageAndTheLastMatchWins) {
  std::vector<ShareRecord> many;
  for (int i = 0; i < 25; ++i) many.push_back({L"share" + std::to_wstring(i), 0, L"C:\\s" + std::to_wstring(i)});
  many.push_back({L"SHARE3", 0, L"C:\\later"});
  many.push_back({L"Share3", 0x80000000u, L"C:\\special"});
  FakeShares shares(many, 4);
  EXPECT_EQ(Find(shares, "server", "share3"), "1C:\\later");
  EXPECT_EQ(shares.servers.size(), 7u);  // 27 records in pages of 4
}

TEST(SharePath, FailingListOrEmptyPageGivesAnEmptyBuffer) {
  FakeShares shares(kShares);
  shares.failure = 53;           // the network path was not found
  FakeShares stuck(kShares, 0);  // keeps answering "more data" with nothing in it
  EXPECT_EQ(Find(shares, "\\\\nowhere", "Maps") + Find(stuck, "", "Maps"), "00");
  EXPECT_EQ(shares.servers.size() + stuck.servers.size(), 2u);
}

TEST(SharePath, BadArgumentsTouchNothingOrEmptyTheBuffer) {
  FakeShares shares(kShares);
  char buffer[8] = "keep";
  EXPECT_EQ(LocalPathOfShare(shares, nullptr, "Maps", buffer, 8) + LocalPathOfShare(shares, "", nullptr, buffer, 8) +
                LocalPathOfShare(shares, "", "Maps", buffer, 0) + LocalPathOfShare(shares, "", "Maps", buffer, -1) +
                LocalPathOfShare(shares, "", "Maps", nullptr, 8),
            0);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_TRUE(shares.servers.empty());

  // "D:\\Data\\Maps" has 12 characters: it needs a buffer of 13.
  for (const int size : {1, 12, 13})
    EXPECT_EQ(Find(shares, "", "Maps", size), size == 13 ? "1D:\\Data\\Maps" : "0") << size;
  const std::string longest(255, 's'), tooLong(256, 's');
  EXPECT_EQ(
      Find(shares, longest.c_str(), "Maps") + Find(shares, tooLong.c_str(), "Maps") + Find(shares, "", tooLong.c_str()),
      "1D:\\Data\\Maps00");
  EXPECT_EQ(shares.servers.size(), 4u);
}

}  // namespace
}  // namespace velinst
