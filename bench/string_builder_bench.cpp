// cStringBuilder appends: the reported capacity grows one chunk at a time,
// the storage underneath geometrically. Compared with a buffer that really is
// re-allocated and copied at every chunk boundary.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "common/string_builder.h"

namespace {

constexpr char kPiece[] = "<Element>12,500</Element>";  // a typical message piece

// A buffer that grows by exactly one chunk, copying everything each time.
class ChunkCopyBuffer {
 public:
  void Append(const char* text, size_t length) {
    if (used_ + length > capacity_) {
      size_t capacity = capacity_;
      while (capacity < used_ + length) capacity += 8192;
      auto grown = std::make_unique<char[]>(capacity);
      if (used_ > 0) std::memcpy(grown.get(), data_.get(), used_);
      data_ = std::move(grown);
      capacity_ = capacity;
    }
    std::memcpy(data_.get() + used_, text, length);
    used_ += length;
  }
  size_t size() const { return used_; }

 private:
  std::unique_ptr<char[]> data_;
  size_t used_ = 0;
  size_t capacity_ = 0;
};

void BM_StringBuilderAppend(benchmark::State& state) {
  const std::string piece = kPiece;
  for (auto _ : state) {
    typrosync::cStringBuilder builder;
    for (int64_t i = 0; i < state.range(0); ++i) builder.Append(piece);
    benchmark::DoNotOptimize(builder.Length());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StringBuilderAppend)->RangeMultiplier(8)->Range(64, 1 << 18)->Complexity();

void BM_ChunkCopyAppend(benchmark::State& state) {
  for (auto _ : state) {
    ChunkCopyBuffer buffer;
    for (int64_t i = 0; i < state.range(0); ++i) buffer.Append(kPiece, sizeof kPiece - 1);
    benchmark::DoNotOptimize(buffer.size());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChunkCopyAppend)->RangeMultiplier(8)->Range(64, 1 << 18)->Complexity();

}  // namespace

BENCHMARK_MAIN();
