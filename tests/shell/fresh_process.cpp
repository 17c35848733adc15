#include "fresh_process.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace {

// A child of a death test reports nothing by itself: its failures are gathered and printed
// to stderr, which the parent shows when the child's exit code says it failed.
[[noreturn]] void RunChild(const std::function<void(host::HeadlessHost&)>& scenario) {
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

}  // namespace

void ExpectInFreshProcess(const std::function<void(host::HeadlessHost&)>& scenario) {
  EXPECT_EXIT(RunChild(scenario), ::testing::ExitedWithCode(0), "");
}

int TakeQuitCode() {
  // An unpainted window's paint message never leaves the queue by itself: bound the search.
  constexpr int kMaxMessages = 64;
  MSG msg;
  for (int i = 0; i < kMaxMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
  }
  return kNoQuit;
}
