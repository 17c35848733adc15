// Test support: runs a scenario in a child process, so the program's globals start fresh.
#pragma once

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "host/headless/headless_host.h"
#include "portable/fault_table.h"

using Scenario = std::function<void(host::HeadlessHost&)>;

// A child of a death test reports nothing by itself: its failures are gathered and printed
// to stderr, which the parent shows when the child's exit code says it failed.
[[noreturn]] inline void RunChild(const Scenario& scenario) {
  ::alarm(10);  // a scenario that hangs fails
  host::HeadlessHost headless;
  host::Install(&headless);
  ::testing::TestPartResultArray results;
  {
    ::testing::ScopedFakeTestPartResultReporter gather(
        ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    scenario(headless);
  }
  bool failed = false;
  for (int i = 0; i < results.size(); ++i) {
    const ::testing::TestPartResult& result = results.GetTestPartResult(i);
    if (!result.failed()) continue;
    failed = true;
    std::fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?",
                 result.line_number(), result.message());
  }
  std::_Exit(failed ? 1 : 0);
}

// Runs `scenario` with a headless host installed in a child, which must pass all it expects.
inline void ExpectInFreshProcess(const Scenario& scenario) {
  EXPECT_EXIT(RunChild(scenario), ::testing::ExitedWithCode(0), "");
}
