// Test support: runs a scenario in a child process, so the program's globals start fresh.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "host/headless/headless_host.h"
#include "portable/fault_table.h"

using Scenario = std::function<void(host::HeadlessHost&)>;

// A child of a death test prints nothing by itself: the failures its scenario adds to the
// test's result go to stderr, which the parent shows when the child's exit code says it failed.
[[noreturn]] inline void RunChild(const Scenario& scenario) {
  ::alarm(10);  // a scenario that hangs fails
  host::HeadlessHost headless;
  host::Install(&headless);
  const ::testing::TestResult& result =
      *::testing::UnitTest::GetInstance()->current_test_info()->result();
  const int before = result.total_part_count();
  scenario(headless);
  bool failed = false;
  for (int i = before; i < result.total_part_count(); ++i) {
    const ::testing::TestPartResult& part = result.GetTestPartResult(i);
    if (!part.failed()) continue;
    failed = true;
    std::fprintf(stderr, "%s:%d: %s\n", part.file_name() ? part.file_name() : "?",
                 part.line_number(), part.message());
  }
  std::_Exit(failed ? 1 : 0);
}

// Runs `scenario` with a headless host installed in a child, which must pass all it expects.
inline void ExpectInFreshProcess(const Scenario& scenario) {
  EXPECT_EXIT(RunChild(scenario), ::testing::ExitedWithCode(0), "");
}
