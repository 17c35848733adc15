#include "row_watch.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace probe {

RowWatch::RowWatch(Display* display, int top, int height) : display_(display), top_(top) {
  const int screen = DefaultScreen(display);
  if (XShmQueryExtension(display) == False) return;
  image_ = XShmCreateImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                           ZPixmap, nullptr, &segment_, DisplayWidth(display, screen), height);
  if (image_ == nullptr) return;
  segment_.shmid = shmget(IPC_PRIVATE, image_->bytes_per_line * height, IPC_CREAT | 0600);
  segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
  segment_.readOnly = False;
  if (segment_.shmaddr == reinterpret_cast<char*>(-1) || XShmAttach(display, &segment_) == 0) {
    XDestroyImage(image_);
    image_ = nullptr;
  }
  XSync(display, False);
  shmctl(segment_.shmid, IPC_RMID, nullptr);  // freed once both sides let go
}

RowWatch::~RowWatch() {
  if (image_ == nullptr) return;
  XShmDetach(display_, &segment_);
  XDestroyImage(image_);
  shmdt(segment_.shmaddr);
}

const Rows& RowWatch::Grab() {
  rows_.clear();
  if (image_ == nullptr || image_->bits_per_pixel != 32) return rows_;
  if (XShmGetImage(display_, DefaultRootWindow(display_), image_, 0, top_, AllPlanes) == 0) {
    return rows_;
  }
  const int stride = image_->bytes_per_line / 4;
  rows_.resize(static_cast<std::size_t>(image_->width) * image_->height);
  for (int y = 0; y < image_->height; ++y) {
    std::memcpy(&rows_[static_cast<std::size_t>(y) * image_->width],
                image_->data + static_cast<std::size_t>(y) * stride * 4, image_->width * 4);
  }
  return rows_;
}

int RowWatch::ChangedSpan(const Rows& before) const {
  if (before.size() != rows_.size() || rows_.empty()) return -1;
  int left = image_->width, right = -1;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i] == before[i]) continue;
    const int x = static_cast<int>(i % image_->width);
    left = std::min(left, x);
    right = std::max(right, x);
  }
  return right < 0 ? -1 : right - left;
}

}  // namespace probe
