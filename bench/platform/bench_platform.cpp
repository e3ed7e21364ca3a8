// Benchmarks of the platform layer: bulk code-page conversion as the DXF
// reader uses it (pure ASCII, Western European, Chinese), and settings-store
// reads and writes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/code_page.h"
#include "platform/registry.h"

namespace {

using namespace tarn::platform;

std::string Repeat(std::string_view piece, size_t bytes) {
  std::string out;
  while (out.size() < bytes) out += piece;
  return out;
}

void BM_DecodeAscii1252(benchmark::State& state) {
  const std::string input = Repeat("LINE\n  8\n0\n 10\n123.456\n", 1 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeToUtf8(input, 1252));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_DecodeAscii1252);

void BM_DecodeLatin1252(benchmark::State& state) {
  const std::string input = Repeat("Stra\xDF" "e M\xFCller \xC9tage ", 1 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeToUtf8(input, 1252));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_DecodeLatin1252);

void BM_DecodeGbk936(benchmark::State& state) {
  const std::string input = Repeat("\xD6\xD0\xCE\xC4 TEXT \xBA\xBA\xD7\xD6 ", 1 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeToUtf8(input, 936));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_DecodeGbk936);

void BM_EncodeGbk936(benchmark::State& state) {
  const std::string input = Repeat("中文 TEXT 汉字 ", 1 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeFromUtf8(input, 936));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_EncodeGbk936);

void BM_EncodeEscape1252(benchmark::State& state) {
  // Every fourth character is outside the code page: the slow path.
  const std::string input = Repeat("abc漢", 64 * 1024);
  for (auto _ : state) {
    benchmark::DoNotOptimize(EncodeFromUtf8(input, 1252, Unrepresentable::kEscape));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_EncodeEscape1252);

void BM_DecodeShortStrings936(benchmark::State& state) {
  // The DXF reader converts one group value at a time.
  const std::string value = "\xD6\xD0\xCE\xC4";
  for (auto _ : state) benchmark::DoNotOptimize(DecodeToUtf8(value, 936));
}
BENCHMARK(BM_DecodeShortStrings936);

std::filesystem::path BenchFolder() {
  return std::filesystem::temp_directory_path() / ("tarn-bench-platform-" + std::to_string(getpid()));
}

void BM_RegistryQueryDword(benchmark::State& state) {
  const auto folder = BenchFolder();
  RegistryStore store(folder);
  RegistryKey key;
  store.CreateKey(RegistryRoot::kCurrentUser, "Software\\Bench\\Settings", &key);
  for (int i = 0; i < 50; ++i) key.SetDword("Value" + std::to_string(i), static_cast<uint32_t>(i));
  for (auto _ : state) benchmark::DoNotOptimize(key.QueryDword("Value25"));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RegistryQueryDword);

void BM_RegistrySetDword(benchmark::State& state) {
  // Each write rewrites the root file atomically (with fsync).
  const auto folder = BenchFolder();
  RegistryStore store(folder);
  RegistryKey key;
  store.CreateKey(RegistryRoot::kCurrentUser, "Software\\Bench\\Settings", &key);
  uint32_t n = 0;
  for (auto _ : state) key.SetDword("Counter", ++n);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RegistrySetDword);

}  // namespace

BENCHMARK_MAIN();
