#include "installer/share_path.h"

#include <gtest/gtest.h>

#include <string>

#include "velinst.h"

namespace velinst {
namespace {

// A server's share list handed out in pages of a fixed size, as a server
// with more shares than fit in one answer does.
struct FakeShares final : IShareEnumerator {
  explicit FakeShares(std::vector<ShareRecord> all, std::size_t size = 100) : shares(std::move(all)), pageSize(size) {}

  std::uint32_t NextPage(const std::wstring& server, std::uint32_t& resume, std::vector<ShareRecord>& page) override {
    servers.push_back(server);
    if (failure != 0) return failure;
    const std::size_t end = std::min(shares.size(), resume + pageSize);
    for (std::size_t i = resume; i < end; ++i) page.push_back(shares[i]);
    resume = static_cast<std::uint32_t>(end);
    return end < shares.size() ? kShareListMoreData : 0;
  }

  std::vector<ShareRecord> shares;
  std::size_t pageSize;
  std::vector<std::wstring> servers;
  std::uint32_t failure = 0;
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

// The last match of any page wins, in any letter case; special shares never.
// "D:\\Data\\Maps" has 12 characters: it needs a buffer of 13.
TEST(SharePath, FindsTheLastShareOfThatNameOnAnyPage) {
  std::vector<ShareRecord> many;
  for (int i = 0; i < 25; ++i) many.push_back({L"share" + std::to_wstring(i), 0, L"C:\\s" + std::to_wstring(i)});
  many.push_back({L"SHARE3", 0, L"C:\\later"});
  many.push_back({L"Share3", 0x80000000u, L"C:\\special"});
  FakeShares shares(kShares), paged(many, 4), failing(kShares), stuck(kShares, 0);  // stuck: "more data", none given
  failing.failure = 53;  // the network path was not found
  const std::string longest(255, 's'), tooLong(256, 's');
  const struct {
    FakeShares& shares;
    std::string server, share;
    int size;
    const char* expected;
  } cases[] = {{shares, "\\\\server", "Maps", 260, "1D:\\Data\\Maps"}, {shares, "", "mApS", 13, "1D:\\Data\\Maps"},
               {shares, "", "Maps", 12, "0"},         {shares, "", "Maps", 1, "0"},
               {shares, "", "C$", 260, "0"},          {shares, "", "ADMIN$", 260, "0"},
               {shares, "", "ipc$", 260, "0"},        {shares, "", "Map", 260, "0"},
               {shares, "", "Mapsx", 260, "0"},       {shares, "", "", 260, "0"},
               {shares, longest, "Maps", 260, "1D:\\Data\\Maps"}, {shares, tooLong, "Maps", 260, "0"},
               {shares, "", tooLong, 260, "0"},       {paged, "server", "share3", 260, "1C:\\later"},
               {failing, "\\\\nowhere", "Maps", 260, "0"}, {stuck, "", "Maps", 260, "0"}};
  for (const auto& c : cases)
    EXPECT_EQ(Find(c.shares, c.server.c_str(), c.share.c_str(), c.size), c.expected) << c.server << " " << c.share;
  EXPECT_EQ(shares.servers.front(), L"\\\\server");
  EXPECT_EQ(paged.servers.size(), 7u);  // 27 records in pages of 4
  EXPECT_EQ(failing.servers.size() + stuck.servers.size(), 2u);
}

TEST(SharePath, BadArgumentsTouchNothing) {
  FakeShares shares(kShares);
  char buffer[8] = "keep";
  EXPECT_EQ(LocalPathOfShare(shares, nullptr, "Maps", buffer, 8) + LocalPathOfShare(shares, "", nullptr, buffer, 8) +
                LocalPathOfShare(shares, "", "Maps", buffer, 0) + LocalPathOfShare(shares, "", "Maps", buffer, -1) +
                LocalPathOfShare(shares, "", "Maps", nullptr, 8),
            0);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_TRUE(shares.servers.empty());
}

}  // namespace
}  // namespace velinst
