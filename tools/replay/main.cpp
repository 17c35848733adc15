// paddleball-replay: plays the game headless from a mouse script and traces every tick.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "frame_files.h"
#include "frame_timer.h"
#include "game/frame_tick.h"
#include "host/headless/headless_host.h"
#include "input/mouse.h"
#include "mouse_script.h"
#include "options.h"
#include "trace.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kWriteError = 1;

[[noreturn]] void Fail(const std::string& message, int status = kUsageError) {
  std::fflush(stdout);
  std::fprintf(stderr, "paddleball-replay: %s\n", message.c_str());
  std::exit(status);
}

// A trace cut short must not end as a finished run: a full disk or a closed pipe is a failure.
[[noreturn]] void FailOutput() {
  std::fprintf(stderr, "paddleball-replay: standard output: %s\n", std::strerror(errno));
  std::_Exit(kWriteError);  // nothing more can reach standard output
}

bool CloseOutput() {
  const bool flushed = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  const int flushErrno = errno;
  const bool closed = std::fclose(stdout) == 0;
  if (!flushed) errno = flushErrno;
  return flushed && closed;
}

// Writes the tick's last presented frame when it presented one and it is wanted.
void SaveFrame(const FrameFiles& files, long tick, long presented,
               const host::HeadlessHost& headless) {
  if (presented == 0 || !files.Wants(tick)) return;
  std::string error;
  if (!files.Write(tick, headless.screen(), headless.screenWidth(), headless.screenHeight(),
                   error)) {
    Fail(error, kWriteError);
  }
}

// Handles what the message loop would before a tick; false once the quit message arrives.
bool DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return false;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return true;
}

bool QuitPending() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_QUIT;
}

}  // namespace

int main(int argc, char** argv) {
  ReplayOptions options;
  std::string error;
  if (!ParseReplayOptions(argc, argv, options, error)) Fail(error + "\n" + kReplayUsage);
  if (options.help) {
    std::fputs(kReplayUsage, stdout);
    return 0;
  }

  const FrameFiles frames(options.framesDirectory, options.frameTicks);
  if (!frames.Prepare(error)) Fail(error);

  host::HeadlessHost headless;
  host::Install(&headless);
  headless.SetKeepFrames(frames.enabled());
  MouseScript script(std::cin);
  headless.SetMouseSource([&script] {
    ScriptedRead read;
    std::string lineError;
    if (!script.Next(read, lineError)) Fail(lineError);
    host::MouseState state;
    state.dx = read.movement;
    state.buttons[0] = read.button;
    return state;
  });

  InitDisplay();
  InitInput();
  LoadScene();

  FrameTimer timer;
  std::string line;
  for (long tick = 1; DrainMessages(); ++tick) {
    const std::size_t soundsBefore = headless.sounds().size();
    const std::int64_t framesBefore = headless.framesShown();
    const auto start = FrameTimer::Clock::now();
    FrameTick();
    const long presented = static_cast<long>(headless.framesShown() - framesBefore);
    if (options.timedemo) timer.Add(FrameTimer::Clock::now() - start, presented);
    SaveFrame(frames, tick, presented, headless);
    TickRecord record;
    record.tick = tick;
    for (std::size_t i = soundsBefore; i < headless.sounds().size(); ++i) {
      record.cues.push_back(headless.sounds()[i].path);
    }
    record.quit = QuitPending();
    line.clear();
    WriteTickRecord(record, line);
    line += '\n';
    if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size()) FailOutput();
    if (record.quit || script.exhausted()) break;
  }
  if (!CloseOutput()) FailOutput();
  if (options.timedemo) std::fprintf(stderr, "%s\n", timer.Summary().c_str());
  return 0;
}
