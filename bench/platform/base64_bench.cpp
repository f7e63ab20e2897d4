// Base64 of 1 MiB, against OpenSSL's block codec in the same run: the
// encoding sits on the request path of the account service.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <random>
#include <vector>

#include "platform/base64.h"

namespace {

constexpr std::size_t kInputSize = 1 << 20;

const std::vector<std::uint8_t>& Input() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> result(kInputSize);
    std::mt19937 random(1);
    for (auto& b : result) b = static_cast<std::uint8_t>(random());
    return result;
  }();
  return bytes;
}

const std::vector<char>& Text() {
  static const std::vector<char> text = [] {
    std::vector<char> result(velinst::Base64EncodedSize(kInputSize));
    velinst::Base64Encode(result.data(), Input().data(), Input().size());
    result.pop_back();  // the terminator
    return result;
  }();
  return text;
}

void Baseline_OpenSslEncodeBlock(benchmark::State& state) {
  std::vector<unsigned char> out(velinst::Base64EncodedSize(kInputSize));
  for (auto _ : state) {
    benchmark::DoNotOptimize(EVP_EncodeBlock(out.data(), Input().data(), static_cast<int>(Input().size())));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}
BENCHMARK(Baseline_OpenSslEncodeBlock);

void Base64Encode(benchmark::State& state) {
  std::vector<char> out(velinst::Base64EncodedSize(kInputSize));
  for (auto _ : state) {
    velinst::Base64Encode(out.data(), Input().data(), Input().size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}
BENCHMARK(Base64Encode);

void Baseline_OpenSslDecodeBlock(benchmark::State& state) {
  std::vector<unsigned char> out(velinst::Base64DecodedCapacity(Text().size()));
  const auto* text = reinterpret_cast<const unsigned char*>(Text().data());
  for (auto _ : state) {
    benchmark::DoNotOptimize(EVP_DecodeBlock(out.data(), text, static_cast<int>(Text().size())));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}
BENCHMARK(Baseline_OpenSslDecodeBlock);

void Base64Decode(benchmark::State& state) {
  std::vector<std::uint8_t> out(velinst::Base64DecodedCapacity(Text().size()));
  for (auto _ : state) {
    benchmark::DoNotOptimize(velinst::Base64Decode(out.data(), Text().data(), Text().size()));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}
BENCHMARK(Base64Decode);

}  // namespace

BENCHMARK_MAIN();
