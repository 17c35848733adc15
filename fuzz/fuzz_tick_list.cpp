// Fuzzes the replay's list of ticks to write frames for; a list it takes must come out
// sorted, without repeats and within its range.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tick_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr long kLargestTick = 1'000'000'000;
  std::vector<long> ticks;
  std::string error;
  if (!ParseTickList(std::string_view(reinterpret_cast<const char*>(data), size), ticks, error)) {
    return 0;
  }
  const bool ordered =
      std::adjacent_find(ticks.begin(), ticks.end(), std::greater_equal<>()) == ticks.end();
  if (ticks.empty() || !ordered || ticks.front() < 1 || ticks.back() > kLargestTick) std::abort();
  return 0;
}
