// Reads a band of the screen's rows through shared memory, cheaply enough to poll without pause.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace probe {

using Rows = std::vector<std::uint32_t>;

// Between reads: fine enough for timing, and leaves the machine to the game being measured.
constexpr std::chrono::microseconds kBetweenReads(200);

class RowWatch {
 public:
  // Rows [top, top + height) of the root window; `ready()` is false without MIT-SHM.
  RowWatch(Display* display, int top, int height);
  ~RowWatch();
  RowWatch(const RowWatch&) = delete;
  RowWatch& operator=(const RowWatch&) = delete;

  bool ready() const { return image_ != nullptr; }
  // The band as it is now; empty when the server would not give it.
  const Rows& Grab();
  // How far apart the leftmost and rightmost changed columns are, or -1 when nothing changed.
  int ChangedSpan(const Rows& before) const;

 private:
  Display* display_;
  int top_;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  Rows rows_;
};

}  // namespace probe
