// Test support: a headless host and the game's globals back at their start values.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/headless/headless_host.h"
#include "portable/fault_table.h"

// Each test starts a new game: the process-wide state a run never resets is reset here.
class FreshGame : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Queues one mouse read of `dx` with the first button byte `button`.
  void QueueMouse(int dx, int button = 0);
  // The files of the sounds played since the last call.
  std::vector<std::string> TakeCues();
  // Whether a quit message is waiting in the queue.
  bool QuitRequested();

  host::HeadlessHost host_;

 private:
  std::size_t cuesSeen_ = 0;
};
