// The terms of host.h, the same rows run against every host that runs here: the headless host
// and the SDL host on SDL's dummy drivers, both on clocks that move only when slept on.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "../support/scoped_env.h"
#include "../support/wav_bytes.h"
#include "host/cue_hold.h"
#include "host/emulated_mode.h"
#include "host/event_queue.h"
#include "host/headless/headless_host.h"
#include "host/picture_limits.h"
#include "host/sdl/sdl_host.h"

namespace host {
namespace {

// A host, a way to press Escape as its library reports it, how much longer than the sound its
// device holds a cue (SDL's dummy device plays in real time, so on the test's clock it is never
// done before the cue rule gives up on it), and whether a message no box shows goes to stderr.
struct Made {
  std::unique_ptr<Host> host;
  std::function<void()> pressEscape;
  std::int64_t deviceHolds = 0;
  bool messagesOnStderr = false;
};

Made Headless() {
  auto headless = std::make_unique<HeadlessHost>();
  HeadlessHost* raw = headless.get();
  return {std::move(headless), [raw] { raw->QueueEvent({Event::Kind::kKeyDown, 0x1B}); }};
}

Made Sdl() {
  auto now = std::make_shared<std::int64_t>(0);
  const HostClock clock = {[now] { return *now; },
                           [now](std::int64_t wake) { *now = std::max(*now, wake); }};
  std::string error;
  auto sdl = SdlHost::Create(error, SdlHost::Presentation::kWindowSurface, clock);
  EXPECT_NE(sdl, nullptr) << error;
  const auto pressEscape = [] {
    SDL_Event key{SDL_KEYDOWN};
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&key);
  };
  return {std::move(sdl), pressEscape, kCueStallMarginMicros, true};
}

// How far the host's clock moved while `act` ran.
std::int64_t Held(Host& host, const std::function<void()>& act) {
  const std::int64_t before = host.NowMicros();
  act();
  return host.NowMicros() - before;
}

using Row = std::function<void(Made&, Host&, const ScratchDir&)>;
const std::pair<const char*, Row> kRows[] = {
    {"opens the game's mode, refuses sizes no picture has, keeps an open screen",
     [](Made&, Host& host, const ScratchDir&) {
       EXPECT_FALSE(host.OpenScreen(0, 768, 16));
       EXPECT_FALSE(host.OpenScreen(kLargestPictureSide + 1, 1, 16));
       EXPECT_TRUE(host.OpenScreen(1024, 768, 16) && host.OpenScreen(1024, 768, 16));
     }},
    {"takes null texts as empty; a box that cannot show neither waits nor loses its text",
     [](Made& made, Host& host, const ScratchDir&) {
       const ScopedEnv noX("DISPLAY", nullptr), noWayland("WAYLAND_DISPLAY", nullptr);
       testing::internal::CaptureStderr();
       EXPECT_EQ(Held(host,
                      [&] {
                        host.SetTitle(nullptr), host.ShowMessage(nullptr, nullptr);
                        host.ShowMessage("SetDisplayMode Failed!", "SetDisplayMode Failed!");
                      }),
                 0);
       const bool said = testing::internal::GetCapturedStderr().find(
                             "SetDisplayMode Failed!: SetDisplayMode Failed!") != std::string::npos;
       EXPECT_EQ(said, made.messagesOnStderr);
     }},
    {"has nothing to report before anything happened, and drops a flood past its bound",
     [](Made& made, Host& host, const ScratchDir&) {
       Event event{Event::Kind::kClose, 7};
       EXPECT_FALSE(host.PollEvent(event));
       EXPECT_EQ(event.kind, Event::Kind::kClose) << "an event was written though none waited";
       const MouseState mouse = host.TakeMouse();
       EXPECT_EQ(mouse.dx | mouse.dy | mouse.wheel | mouse.buttons[0], 0);
       for (std::size_t i = 0; i < 2 * EventQueue::kMostPending; ++i) made.pressEscape();
       std::size_t taken = 0;
       for (; host.PollEvent(event); ++taken) EXPECT_EQ(event.virtualKey, 0x1Bu);
       EXPECT_EQ(taken, EventQueue::kMostPending);
     }},
    {"holds each frame one refresh, drawn or not; sleeps as asked, at once for nothing",
     [](Made&, Host& host, const ScratchDir&) {
       ASSERT_TRUE(host.OpenScreen(1024, 768, 16));
       std::vector<std::uint16_t> pixels(1024 * 768);
       host.ShowFrame({pixels.data(), 1024, 768, 2048});
       EXPECT_EQ(Held(host,
                      [&] {
                        host.ShowFrame({nullptr, 1024, 768, 2048});
                        host.ShowFrame({pixels.data(), 1024, 768, 2047});
                        host.ShowFrame({pixels.data(), 1024, 768, 2048});
                      }),
                 3 * kEmulatedRefreshMicros);
       EXPECT_EQ(Held(host, [&] { host.SleepMicros(0), host.SleepMicros(-5); }), 0);
       EXPECT_GE(Held(host, [&] { host.SleepMicros(1500); }), 1500);
     }},
    {"holds a synchronous cue by the one rule, checks every cue, holds nothing else",
     [](Made& made, Host& host, const ScratchDir& dir) {
       constexpr std::int64_t kCueMicros = 2'000'000, kMostLatencyMicros = 100'000;
       const std::string cue = dir.Write("cue.wav", MonoSilence(kCueMicros / 1e6));
       const std::string refused = dir.Write("refused.wav", MonoSilence(10.5));
       const std::int64_t held = Held(host, [&] { host.PlaySound(cue.c_str(), true); });
       EXPECT_GE(held, kCueMicros + made.deviceHolds);
       EXPECT_LE(held, kCueMicros + made.deviceHolds + kMostLatencyMicros);
       testing::internal::CaptureStderr();
       EXPECT_EQ(Held(host, [&] { host.PlaySound(refused.c_str(), false); }), 0);
       EXPECT_NE(testing::internal::GetCapturedStderr().find(refused + ": "), std::string::npos)
           << "an asynchronous cue went unchecked";
       EXPECT_EQ(Held(host,
                      [&] {
                        host.PlaySound(cue.c_str(), false);
                        host.StopSound();
                        host.PlaySound(nullptr, true);
                        host.PlaySound(dir.Path("missing.wav").c_str(), true);
                        host.PlaySound(refused.c_str(), true);
                      }),
                 0);
     }},
};

TEST(HostContract, EveryHostKeepsTheSameTerms) {
  for (const auto& [name, make] : {std::pair{"headless", &Headless}, std::pair{"SDL", &Sdl}}) {
    for (const auto& [what, check] : kRows) {
      SCOPED_TRACE(std::string(name) + ": " + what);
      const ScratchDir dir;  // names of its own: a refused file is named once per process
      Made made = make();
      ASSERT_NE(made.host, nullptr);
      check(made, *made.host, dir);
    }
  }
}

}  // namespace
}  // namespace host
