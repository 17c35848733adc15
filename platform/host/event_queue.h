// The window events a host has taken but the game has not yet asked for, bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "host/host.h"

namespace host {

class EventQueue {
 public:
  // A flood of keys cannot grow the queue for ever; past this, new events are dropped.
  static constexpr std::size_t kMostPending = 256;

  void Push(Event::Kind kind, std::uint32_t virtualKey = 0) {
    if (pending_.size() >= kMostPending) return;
    Event event;
    event.kind = kind;
    event.virtualKey = virtualKey;
    pending_.push_back(event);
  }

  bool Pop(Event& event) {
    if (pending_.empty()) return false;
    event = pending_.front();
    pending_.pop_front();
    return true;
  }

 private:
  std::deque<Event> pending_;
};

}  // namespace host
