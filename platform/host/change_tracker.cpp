#include "host/change_tracker.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

// Most rows of a frame are as they were: the library's compare passes them fastest, and
// in a sanitizer build checks the row once rather than word by word.
bool RowsDiffer(const std::uint16_t* row, const std::uint16_t* kept, int width) {
  return std::memcmp(row, kept, static_cast<std::size_t>(width) * sizeof *row) != 0;
}

}  // namespace

ChangedRect ChangeTracker::Take(const Frame& frame) {
  if (frame.width != width_ || frame.height != height_) {
    width_ = frame.width;
    height_ = frame.height;
    last_.assign(static_cast<std::size_t>(width_) * height_, 0);
    changedRows_.assign(static_cast<std::size_t>(height_), 0);
    changeAll_ = true;
  }
  int top = height_;
  int bottom = -1;
  int left = width_;
  int right = -1;
  for (int row = 0; row < height_; ++row) {
    int rowLeft = 0;
    int rowRight = 0;
    changedRows_[row] = TakeRow(frame.Row(row), row, rowLeft, rowRight) ? 1 : 0;
    if (changedRows_[row] == 0) continue;
    top = std::min(top, row);
    bottom = row;
    left = std::min(left, rowLeft);
    right = std::max(right, rowRight);
  }
  changeAll_ = false;
  if (bottom < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

bool ChangeTracker::TakeRow(const std::uint16_t* source, int row, int& left, int& right) {
  std::uint16_t* kept = &last_[static_cast<std::size_t>(row) * width_];
  left = 0;
  right = width_ - 1;
  if (!changeAll_) {
    if (!RowsDiffer(source, kept, width_)) return false;
    while (source[left] == kept[left]) ++left;
    while (source[right] == kept[right]) --right;
  }
  std::copy(source + left, source + right + 1, kept + left);
  return true;
}

}  // namespace host
