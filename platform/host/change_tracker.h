// Which part of a frame differs from the frame before it, so that a host redoes only that.
#pragma once

#include <cstdint>
#include <vector>

#include "host/host.h"

namespace host {

// The smallest rectangle holding every changed pixel; empty when nothing changed.
struct ChangedRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class ChangeTracker {
 public:
  // Compares a drawable frame with the one taken before and keeps it. A frame of another
  // size, or the first after Forget, changes whole. Rows of the same known origin as the
  // ones kept are taken as they are, unread.
  ChangedRect Take(const Frame& frame);
  // Whether the row changed in the last Take.
  bool RowChanged(int row) const { return changedRows_[static_cast<std::size_t>(row)] != 0; }
  // What was shown is gone: the next frame changes whole.
  void Forget() { changeAll_ = true; }

 private:
  bool TakeRow(const Frame& frame, int row, int& left, int& right);

  int width_ = 0;
  int height_ = 0;
  bool changeAll_ = true;
  std::vector<std::uint16_t> last_;
  std::vector<std::uint64_t> lastOrigins_;
  std::vector<std::uint8_t> changedRows_;
};

}  // namespace host
