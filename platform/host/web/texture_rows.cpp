#include "host/web/texture_rows.h"

#include "host/picture_limits.h"

namespace host {
namespace {
// Sixteen rows of 1024 pixels are 32 KiB: less than the cost of another upload call.
constexpr int kMostRowsBridged = 16;
}  // namespace

const std::vector<RowRun>& TextureRows::Take(const Frame& frame) {
  runs_.clear();
  if (!IsDrawable(frame)) return runs_;
  const ChangedRect changed = changes_.Take(frame);
  for (int row = changed.y; row < changed.y + changed.height; ++row) {
    if (!changes_.RowChanged(row)) continue;
    if (!runs_.empty() && row - (runs_.back().first + runs_.back().count) <= kMostRowsBridged) {
      runs_.back().count = row - runs_.back().first + 1;
    } else {
      runs_.push_back({row, 1});
    }
  }
  return runs_;
}

}  // namespace host
