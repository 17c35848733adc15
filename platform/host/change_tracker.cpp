#include "host/change_tracker.h"

#include <algorithm>
#include <cstring>

namespace host {
namespace {

// Rows are compared a block of pixels at a time, eight words of them with no branch between:
// many times faster than a loop that stops at the first unlike pixel, or than a memcmp that
// goes byte by byte (WebAssembly's does), and most rows of a frame are as they were.
constexpr int kBlockPixels = 32;
constexpr int kPixelsPerWord = sizeof(std::uint64_t) / sizeof(std::uint16_t);
constexpr int kWordsPerBlock = kBlockPixels / kPixelsPerWord;

bool SameBlock(const std::uint16_t* a, const std::uint16_t* b) {
  std::uint64_t differ = 0;
  for (int i = 0; i < kWordsPerBlock; ++i) {
    std::uint64_t wordA = 0;
    std::uint64_t wordB = 0;
    std::memcpy(&wordA, a + i * kPixelsPerWord, sizeof(wordA));
    std::memcpy(&wordB, b + i * kPixelsPerWord, sizeof(wordB));
    differ |= wordA ^ wordB;
  }
  return differ == 0;
}

// The first pixel at which two rows differ; `width` when none does.
int FirstDifference(const std::uint16_t* a, const std::uint16_t* b, int width) {
  int x = 0;
  while (x + kBlockPixels <= width && SameBlock(a + x, b + x)) {
    x += kBlockPixels;
  }
  while (x < width && a[x] == b[x]) ++x;
  return x;
}

// The last pixel at which two rows differ, where one does.
int LastDifference(const std::uint16_t* a, const std::uint16_t* b, int width) {
  int end = width;
  while (end >= kBlockPixels && SameBlock(a + end - kBlockPixels, b + end - kBlockPixels)) {
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
    lastOrigins_.assign(static_cast<std::size_t>(height_), 0);
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
    changedRows_[row] = TakeRow(frame, row, rowLeft, rowRight) ? 1 : 0;
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

bool ChangeTracker::TakeRow(const Frame& frame, int row, int& left, int& right) {
  const std::uint16_t* source = frame.Row(row);
  std::uint16_t* kept = &last_[static_cast<std::size_t>(row) * width_];
  const std::uint64_t origin = frame.rowOrigins != nullptr ? frame.rowOrigins[row] : 0;
  std::uint64_t& keptOrigin = lastOrigins_[static_cast<std::size_t>(row)];
  if (!changeAll_ && origin != 0 && origin == keptOrigin) return false;
  keptOrigin = origin;
  left = 0;
  right = width_ - 1;
  if (!changeAll_) {
    left = FirstDifference(source, kept, width_);
    if (left == width_) return false;
    right = LastDifference(source, kept, width_);
  }
  std::copy(source + left, source + right + 1, kept + left);
  return true;
}

}  // namespace host
