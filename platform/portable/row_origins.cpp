#include "portable/row_origins.h"

#include <algorithm>
#include <atomic>

namespace portable {

std::uint64_t RowOrigins::NewContents() {
  // Forty bits of numbers: more than a game could use up at a thousand pictures a second for
  // thirty years. Zero stays unused, so that no origin is kUnknown.
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

void RowOrigins::Forget(std::int64_t top, std::int64_t bottom) {
  const auto rows = static_cast<std::int64_t>(rows_.size());
  top = std::clamp<std::int64_t>(top, 0, rows);
  bottom = std::clamp<std::int64_t>(bottom, top, rows);
  std::fill(rows_.begin() + top, rows_.begin() + bottom, kUnknown);
}

}  // namespace portable
