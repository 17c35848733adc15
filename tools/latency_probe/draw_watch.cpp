#include "draw_watch.h"

#include <algorithm>

namespace probe {

DrawWatch::DrawWatch(Display* display) : display_(display) {
  int errorBase = 0;
  if (XDamageQueryExtension(display, &eventBase_, &errorBase) == False) return;
  damage_ = XDamageCreate(display, DefaultRootWindow(display), XDamageReportNonEmpty);
  XSync(display, False);
}

DrawWatch::~DrawWatch() {
  if (damage_ != 0) XDamageDestroy(display_, damage_);
}

bool DrawWatch::Take() {
  bool drawn = false;
  while (damage_ != 0 && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type != eventBase_ + XDamageNotify) continue;
    const Time at = reinterpret_cast<const XDamageNotifyEvent&>(event).timestamp;
    if (lastDraw_ != 0 && at > lastDraw_) longestGapMs_ = std::max(longestGapMs_, at - lastDraw_);
    lastDraw_ = at;
    drawn = true;
    // Reports come only while the damage is not empty: empty it for the next draw.
    XDamageSubtract(display_, damage_, None, None);
  }
  return drawn;
}

}  // namespace probe
