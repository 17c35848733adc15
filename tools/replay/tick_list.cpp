#include "tick_list.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr long kLargestTick = 1'000'000'000;

bool ParseTick(std::string_view item, long& tick) {
  if (item.empty() || item.front() < '0' || item.front() > '9') return false;
  const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), tick);
  return error == std::errc() && end == item.data() + item.size() && tick >= 1 &&
         tick <= kLargestTick;
}

}  // namespace

bool ParseTickList(std::string_view text, std::vector<long>& ticks, std::string& error) {
  ticks.clear();
  std::string_view rest = text;
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    long tick = 0;
    if (!ParseTick(item, tick)) {
      error = "--frame-ticks: \"" + std::string(item) + "\" is not a tick number from 1 to " +
              std::to_string(kLargestTick) + " (expected a list such as 1,40,41)";
      return false;
    }
    ticks.push_back(tick);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  std::sort(ticks.begin(), ticks.end());
  ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
  return true;
}
