// The pack list exports against real files: results, removal of lists that
// cannot be kept, diagnostics on the standard output, line ends, the shipped examples.
#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "pack_list_test_support.h"
#include "packlist/pack_list_24k.h"
#include "packlist/pack_list_export.h"
#include "test_support.h"
#include "velinst.h"

namespace velinst::packlist {
namespace {

std::string ExamplePath(const std::string& name) { return velinst::test::ProgramDir() + "examples/" + name; }

using velinst::test::FileExists;
using velinst::test::ReadWholeFile;
using velinst::test::TempDir;
using velinst::test::WriteWholeFile;

const Lines kMontereyQuadrangles = {"36122H1", "36121H8", "37122A1", "37121A8", "36121G6", "36121G7", "36121G8",
                                    "36122G1", "36121F6", "36121F7", "36121E6", "36121F6", "36121E7", "36121F7"};

class PackListExport : public testing::Test {
 protected:
  // Runs an export with the standard output captured.
  template <typename Export>
  int Run(Export makePackList, const std::string& region, int scale) {
    testing::internal::CaptureStdout();
    const int result = makePackList(region.c_str(), list_.c_str(), scale);
    printed_ = testing::internal::GetCapturedStdout();
    return result;
  }

  std::string WriteRegion(const std::string& text) {
    const std::string path = dir_.File("region.rgn");
    WriteWholeFile(path, text);
    return path;
  }

  TempDir dir_;
  const std::string list_ = dir_.File("pack.lst");
  std::string printed_;
};

TEST_F(PackListExport, ExamplesAtEveryScaleAndLineEnds) {
  const std::string region = ExamplePath("monterey_bay.rgn");
  WriteWholeFile(list_, std::string(100000, 'x'));  // an existing list is replaced
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 24000), 14);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)), kMontereyQuadrangles);
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 100000), 4 * 32);
  EXPECT_EQ(Run(VEL_MakePackList100K, region, 100000), 4);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)), (Lines{"36121E1", "36122E1", "37121A1", "36121A1"}));
  EXPECT_EQ(Run(VEL_MakePackList100K, region, 250000), 8);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)),
            (Lines{"36121A1", "36121E1", "36122A1", "36122E1", "37121A1", "37121E1", "37122A1", "37122E1"}));
  EXPECT_EQ(printed_, "");
  // The first format example, with carriage returns.
  const std::string tahoe = ExamplePath("lake_tahoe_v1.rgn");
  EXPECT_EQ(Run(VEL_MakePackList24K, tahoe, 24000), 7);
  EXPECT_EQ(ListLines(ReadWholeFile(list_)),
            (Lines{"39120B2", "39120A2", "39119A8", "39120A1", "38119H8", "38120H2", "38120H3"}));
  // The list is written with carriage returns whatever the region's line ends.
  const std::vector<Series> series = {{"24, \"q\"", {"2, \"37122-A1\", \"a\""}}};
  for (const char* lineEnd : {"\n", "\r\n"}) {
    EXPECT_EQ(Run(VEL_MakePackList24K, WriteRegion(RegionFile("2.0", series, lineEnd)), 24000), 2);
    EXPECT_EQ(ReadWholeFile(list_), "37122A1\r\n37122A2\r\n");
  }
}

// Nothing to pack gives 0; a list that cannot be created -1 before the
// region is read; an unreadable region or one breaking the layout prints one
// line and gives -1. No list, older or new, is left behind.
TEST_F(PackListExport, ResultsWithoutAList) {
  const std::string monterey = ExamplePath("monterey_bay.rgn"), missing = dir_.File("missing.rgn");
  const std::string folder = dir_.Path().substr(0, dir_.Path().size() - 1), noFolder = dir_.File("no-such/pack.lst");
  const std::string emptySeries = dir_.File("empty.rgn"), broken = dir_.File("broken.rgn");
  WriteWholeFile(emptySeries, RegionFile("2.0", {{"24, \"q\"", {}}}));
  WriteWholeFile(broken,
                 RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\"", "8, \"x\", \"y\", 37.0, -122.0, 38.0"}}}));
  const auto cannotOpen = [](const std::string& region) { return "cannot open file '" + region + "' for input\n"; };
  const struct {
    decltype(&VEL_MakePackList24K) makePackList;
    std::string region, list;
    int scale, result;
    std::string printed;
  } cases[] = {{VEL_MakePackList24K, monterey, list_, 62500, 0, ""},
               {VEL_MakePackList100K, monterey, list_, 100001, 0, ""},
               {VEL_MakePackList, monterey, list_, 0, 0, ""},
               {VEL_MakePackList24K, emptySeries, list_, 24000, 0, ""},
               {VEL_MakePackList24K, missing, noFolder, 24000, -1, ""},
               {VEL_MakePackList100K, missing, noFolder, 24000, -1, ""},
               {VEL_MakePackList24K, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList100K, missing, list_, 100000, -1, cannotOpen(missing)},
               {VEL_MakePackList24K, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList100K, folder, list_, 100000, -1, cannotOpen(folder)},
               {VEL_MakePackList24K, broken, list_, 24000, -1,
                "region file '" + broken + "', line 18: a rectangle sheet without four numbers\n"}};
  for (const auto& c : cases) {
    WriteWholeFile(list_, "an older list");
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.makePackList(c.region.c_str(), c.list.c_str(), c.scale), c.result) << c.region << " " << c.scale;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
    EXPECT_EQ(FileExists(list_), c.list != list_) << c.region << " " << c.scale;
  }
  EXPECT_EQ(VEL_MakePackList24K(monterey.c_str(), nullptr, 24000), -1);
}

TEST_F(PackListExport, ListNamingTheRegionFileItselfIsRefusedAndTheRegionKept) {
  const std::string text = RegionFile("2.0", {{"24, \"q\"", {"0, \"37122-A1\", \"a\""}}});
  const std::string region = WriteRegion(text);
  // The same file under its own text and under another spelling of its path.
  const std::string sameFolder = dir_.Path() + "." + region.substr(dir_.Path().size() - 1);
  for (const std::string& list : {region, sameFolder}) {
    for (auto makePackList : {VEL_MakePackList24K, VEL_MakePackList100K}) {
      EXPECT_EQ(makePackList(region.c_str(), list.c_str(), 100000), -1) << list;
      EXPECT_EQ(ReadWholeFile(region), text) << list;
    }
  }
  // The region is still whole and readable.
  EXPECT_EQ(Run(VEL_MakePackList24K, region, 24000), 1);
}

TEST_F(PackListExport, OverlappingCallsEachUseTheirOwnTable) {
  const std::string monterey = ExamplePath("monterey_bay.rgn");
  const std::string tahoe = ExamplePath("lake_tahoe_v1.rgn");
  std::vector<std::thread> threads;
  std::vector<int> results(8);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      const std::string list = dir_.File("list" + std::to_string(i));
      for (int round = 0; round < 20 && results[i] >= 0; ++round)
        results[i] = i % 2 == 0 ? VEL_MakePackList24K(monterey.c_str(), list.c_str(), 250000)
                                : VEL_MakePackList100K(tahoe.c_str(), list.c_str(), 250000);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(results[i], i % 2 == 0 ? 256 : 8) << i;
}

TEST_F(PackListExport, ListThatCannotBeWrittenWholeIsRemoved) {
  // 250 quarter-million sheets give 32,000 lines, several buffers' worth.
  std::vector<std::string> sheets;
  for (int i = 0; i < 250; ++i) sheets.push_back("0, \"37" + std::to_string(100 + i) + "-A1\", \"q\"");
  const std::string region = WriteRegion(RegionFile("2.0", {{"250, \"t\"", sheets}}));
  const struct {
    std::size_t acceptBytes;
    bool closeSucceeds;
    int result;
  } cases[] = {{0, true, -1}, {100000, true, -1}, {SIZE_MAX, false, -1}, {SIZE_MAX, true, 32000}};
  // The export drops its output when done: it gets a stand-in that writes
  // through to a list this test keeps.
  class KeptOutput final : public ListOutput {
   public:
    explicit KeptOutput(MemoryListOutput& list) : list_(list) {}
    bool Write(const char* data, std::size_t size) override { return list_.Write(data, size); }
    bool Close() override { return list_.Close(); }
    void Remove() override { list_.Remove(); }

   private:
    MemoryListOutput& list_;
  };
  for (const auto& c : cases) {
    MemoryListOutput output;
    std::tie(output.acceptBytes, output.closeSucceeds) = std::tuple(c.acceptBytes, c.closeSucceeds);
    const auto failing = [&](const char*) -> std::unique_ptr<ListOutput> {
      return std::make_unique<KeptOutput>(output);
    };
    const PackListFamily family{WritePackList24K, false};
    EXPECT_EQ(MakePackList(region.c_str(), list_.c_str(), 250000, family, failing), c.result) << c.acceptBytes;
    EXPECT_EQ(output.removed, c.result < 0) << c.acceptBytes;
    EXPECT_EQ(output.text.size() < 32000u * 9, c.acceptBytes < SIZE_MAX) << c.acceptBytes;
  }
}

}  // namespace
}  // namespace velinst::packlist
