// Allocation failures anywhere in a pack-list export: every one gives -1 (the
// reader's with its message), leaves no list behind and leaks nothing; with
// enough allocations the export succeeds. This program replaces the global
// allocation function to fail on request.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "test_support.h"
#include "velinst.h"

namespace {

// Allocations left before they fail (from then on every one fails until the
// test disarms it); negative: none fails. Atomic, so that setting it around
// an opaque call is never optimised away.
std::atomic<long> allocationsLeft{-1};

}  // namespace

void* operator new(std::size_t size) {
  long left = allocationsLeft.load();
  while (left >= 0 && !allocationsLeft.compare_exchange_weak(left, left - 1)) {
  }
  if (left == 0) {
    allocationsLeft = 0;
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

// The matching release: a sanitizer checks that what operator new gave back
// is released by operator delete. GCC takes the pair for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace velinst::packlist {
namespace {

TEST(AllocationFailure, EveryFailureGivesMinusOneAndNoList) {
  velinst::test::TempDir dir;
  const std::string list = dir.File("pack.lst");
  const std::string region = velinst::test::ProgramDir() + "examples/monterey_bay.rgn";
  for (auto makePackList : {VEL_MakePackList24K, VEL_MakePackList100K}) {
    int result = -1;
    long failing = 0;
    for (; result < 0; ++failing) {
      ASSERT_LT(failing, 1000) << "the export never succeeded";
      testing::internal::CaptureStdout();
      allocationsLeft = failing;
      result = makePackList(region.c_str(), list.c_str(), 250000);
      allocationsLeft = -1;
      const std::string printed = testing::internal::GetCapturedStdout();
      if (result < 0) {
        EXPECT_EQ(result, -1) << failing;
        EXPECT_FALSE(velinst::test::FileExists(list)) << failing;
        EXPECT_TRUE(printed.empty() || printed == "scale info table allocation error\n") << printed;
      }
    }
    EXPECT_GT(failing, 3);
    EXPECT_EQ(result, makePackList == VEL_MakePackList24K ? 256 : 8);
    std::remove(list.c_str());
  }
}

}  // namespace
}  // namespace velinst::packlist
