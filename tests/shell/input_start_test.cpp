// A failing mouse start-up step: its own message, what still happens after it, and the exit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fresh_process.h"
#include "input/mouse.h"

namespace {

struct InputFailure {
  host::Call call;
  std::vector<std::string> messages;  // every box shown, in order
  bool haveDirectInput;
  bool haveDevice;
  bool deviceReads;  // the later steps still made the device readable
};

void PrintTo(const InputFailure& failure, std::ostream* out) { *out << failure.messages[0]; }

class InputStartFailure : public ::testing::TestWithParam<InputFailure> {};

TEST_P(InputStartFailure, ShowsItsMessageOnceAndEndsWithZero) {
  const InputFailure failure = GetParam();
  ExpectInFreshProcess([&failure](host::HeadlessHost& headless) {
    headless.Fail(failure.call);
    static char commandLine[] = "";
    EXPECT_EQ(WinMain(nullptr, nullptr, commandLine, 0), 0);
    std::vector<std::string> shown;
    for (const auto& message : headless.messages()) {
      EXPECT_EQ(message.caption, message.text);
      shown.push_back(message.text);
    }
    EXPECT_EQ(shown, failure.messages);
    EXPECT_EQ(directInput != nullptr, failure.haveDirectInput);
    EXPECT_EQ(mouseDevice != nullptr, failure.haveDevice);

    const DIMOUSESTATE before = {11, 22, 33, {44, 55, 66, 77}};
    mouseState = before;
    host::MouseState moved;
    moved.dx = -9;
    headless.QueueMouse(moved);
    ReadMouse();
    if (failure.deviceReads) {
      EXPECT_EQ(mouseState.lX, -9);
    } else {
      EXPECT_EQ(std::memcmp(&mouseState, &before, sizeof(before)), 0) << "mouseState changed";
    }
  });
}

// Acquiring needs the data format, so a format failure brings the acquire failure with it.
INSTANTIATE_TEST_SUITE_P(
    EachStep, InputStartFailure,
    ::testing::Values(
        InputFailure{
            host::Call::kDirectInputCreate, {"DirectInputCreate Failed!"}, false, false, false},
        InputFailure{
            host::Call::kCreateDevice, {"CreateDevice DINPUT Failed!"}, true, false, false},
        InputFailure{host::Call::kSetInputCooperativeLevel,
                     {"SetCooperativeLevel DINPUT Failed!"},
                     true,
                     true,
                     true},
        InputFailure{host::Call::kSetDataFormat,
                     {"SetDataFormat DINPUT Failed!", "Acquire DINPUT Failed!"},
                     true,
                     true,
                     false},
        InputFailure{host::Call::kAcquire, {"Acquire DINPUT Failed!"}, true, true, false}));

}  // namespace
