#pragma once
// A small generator (splitmix64) with its own range arithmetic, so a start
// value gives the same sample on every platform and standard library.

#include <cstdint>
#include <string>
#include <vector>

namespace typrosync::admin {

class SampleRandom {
 public:
  explicit SampleRandom(uint64_t start_value) : state_(start_value) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  // A whole number in [low, high].
  long Between(long low, long high) {
    return low + static_cast<long>(Next() % static_cast<uint64_t>(high - low + 1));
  }
  // True in `percent` of the draws.
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Between(0, static_cast<long>(items.size()) - 1)];
  }

 private:
  uint64_t state_;
};

}  // namespace typrosync::admin
