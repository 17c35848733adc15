#include "host/change_tracker.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

// Rows are compared a block of pixels at a time where they can be: memcmp is many times
// faster than a loop that stops at the first unlike pixel, and most rows of a frame are
// as they were.
constexpr int kBlockPixels = 32;
constexpr std::size_t kBlockBytes = kBlockPixels * sizeof(std::uint16_t);

// The first pixel at which two rows differ; `width` when none does.
int FirstDifference(const std::uint16_t* a, const std::uint16_t* b, int width) {
  int x = 0;
  while (x + kBlockPixels <= width && std::memcmp(a + x, b + x, kBlockBytes) == 0) {
    x += kBlockPixels;
  }
  while (x < width && a[x] == b[x]) ++x;
  return x;
}

// The last pixel at which two rows differ, where one does.
int LastDifference(const std::uint16_t* a, const std::uint16_t* b, int width) {
  int end = width;
  while (end >= kBlockPixels &&
         std::memcmp(a + end - kBlockPixels, b + end - kBlockPixels, kBlockBytes) == 0) {
    end -= kBlockPixels;
  }
  while (a[end - 1] == b[end - 1]) --end;
  return end - 1;
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
    if (std::memcmp(source, kept, static_cast<std::size_t>(width_) * sizeof(*source)) == 0) {
      return false;
    }
    left = FirstDifference(source, kept, width_);
    right = LastDifference(source, kept, width_);
  }
  std::copy(source + left, source + right + 1, kept + left);
  return true;
}

}  // namespace host
