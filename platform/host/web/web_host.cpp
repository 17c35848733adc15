#include "host/web/web_host.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <vector>

#include "host/cue_hold.h"
#include "host/emulated_mode.h"
#include "host/picture_limits.h"
#include "host/placement.h"
#include "host/wav_file.h"
#include "host/web/cue_samples.h"
#include "host/web/page_calls.h"
#include "host/web/page_mouse.h"

namespace host {
namespace {

constexpr unsigned kPollMillis = 4;
constexpr std::int64_t kMicrosPerMilli = 1000;
constexpr const char* kCanvas = "#canvas";
constexpr const char* kStage = "#stage";

WebHost& HostOf(void* userData) { return *static_cast<WebHost*>(userData); }

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* key, void* userData) {
  // Browsers number keys by the virtual-key codes the game expects.
  const auto virtualKey = static_cast<std::uint32_t>(key->keyCode);
  HostOf(userData).Key(
      {virtualKey, eventType == EMSCRIPTEN_EVENT_KEYDOWN, key->altKey != 0, key->repeat != 0});
  // Only the game's own key is kept from the browser; every other keeps its meaning there.
  return IsGamesOwnKey(virtualKey) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* mouse, void* userData) {
  MouseAccumulator& accumulator = HostOf(userData).mouse();
  switch (eventType) {
    case EMSCRIPTEN_EVENT_MOUSEMOVE:
      if (!HostOf(userData).rawMotion()) {
        accumulator.Move(static_cast<std::int32_t>(mouse->movementX),
                         static_cast<std::int32_t>(mouse->movementY));
      }
      return EM_FALSE;
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
      PageButton(accumulator, mouse->button, true);
      return EM_TRUE;
    case EMSCRIPTEN_EVENT_MOUSEUP:
      PageButton(accumulator, mouse->button, false);
      return EM_FALSE;
    default:
      return EM_FALSE;
  }
}

EM_BOOL OnWheel(int /*eventType*/, const EmscriptenWheelEvent* wheel, void* userData) {
  PageWheel(HostOf(userData).mouse(), wheel->deltaY);
  return EM_TRUE;
}

EM_BOOL OnPointerLock(int /*eventType*/, const EmscriptenPointerlockChangeEvent* change,
                      void* userData) {
  if (!change->isActive) HostOf(userData).mouse().LoseFocus();
  return EM_FALSE;
}

EM_BOOL OnBlur(int /*eventType*/, const EmscriptenFocusEvent* /*focus*/, void* userData) {
  HostOf(userData).LoseFocus();
  return EM_FALSE;
}

EM_BOOL OnResize(int /*eventType*/, const EmscriptenUiEvent* /*ui*/, void* userData) {
  HostOf(userData).FitToPage();
  return EM_FALSE;
}

void Listen(WebHost* web) {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, web, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(window, web, EM_TRUE, OnKey);
  emscripten_set_mousedown_callback(kCanvas, web, EM_TRUE, OnMouse);
  // Movement and releases count wherever the pointer is, as a relative mouse's would.
  emscripten_set_mouseup_callback(window, web, EM_TRUE, OnMouse);
  emscripten_set_mousemove_callback(window, web, EM_TRUE, OnMouse);
  web->SetRawMotion(pb_watch_raw_motion(web) != 0);
  pb_watch_controls(web);
  emscripten_set_wheel_callback(kCanvas, web, EM_TRUE, OnWheel);
  emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, web, EM_TRUE,
                                            OnPointerLock);
  emscripten_set_blur_callback(window, web, EM_TRUE, OnBlur);
  emscripten_set_resize_callback(window, web, EM_TRUE, OnResize);
}

}  // namespace

// Raw pointer motion reaches the page as it happens, where mousemove waits for the next
// animation frame: a whole frame more between the hand and the screen.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_raw_motion(void* web, int dx, int dy) {
  HostOf(web).mouse().Move(dx, dy);
}

// A touch on the page: `phase` 0 down, 1 moved, 2 lifted, 3 cancelled; `scale` game pixels to a
// page pixel.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_touch(void* web, int phase, int finger, double x, double y,
                                              double millis, double scale) {
  TouchSteering& touch = HostOf(web).touch();
  MouseAccumulator& mouse = HostOf(web).mouse();
  if (phase == 0) touch.Start(finger, x, y, millis);
  if (phase == 1) touch.Move(finger, x, scale, mouse);
  if (phase >= 2) touch.End(finger, x, y, millis, phase == 3, mouse);
}

// The first pad, polled by the page each animation frame.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_pad(void* web, int present, double across, unsigned held) {
  HostOf(web).Pad(present != 0, across, held);
}

// The page's End control, as the desktop's keyboard would send the game's key.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_end_game(void* web) {
  HostOf(web).Key({kEscapeKey, true});
  HostOf(web).Key({kEscapeKey, false});
}

// The page's clock; its timer sleeps whole milliseconds.
WebHost::WebHost()
    : deadline_(kEmulatedHertz),
      clock_{[this] { return NowMicros(); },
             [this](std::int64_t wake) {
               emscripten_sleep(static_cast<unsigned>(MillisToWake(NowMicros(), wake)));
             }} {}

WebHost::~WebHost() { pb_audio_stop(); }

bool WebHost::OpenScreen(int width, int height, int /*bitsPerPixel*/) {
  if (screenOpen_) return true;
  if (!FitsPictureLimits(width, height)) return false;
  const int canvas = pb_open_canvas(width, height);
  if (canvas == kNoCanvas) return false;
  onGpu_ = canvas == kCanvasGpu;
  screenWidth_ = width;
  screenHeight_ = height;
  screenOpen_ = true;
  Listen(this);
  FitToPage();
  return true;
}

void WebHost::FitToPage() {
  double areaWidth = 0;
  double areaHeight = 0;
  if (emscripten_get_element_css_size(kStage, &areaWidth, &areaHeight) !=
      EMSCRIPTEN_RESULT_SUCCESS) {
    return;
  }
  // Fit in device pixels, so that each game pixel covers whole screen pixels where it can.
  const double ratio = std::max(emscripten_get_device_pixel_ratio(), 1.0);
  const Placement fit = FitPicture(screenWidth_, screenHeight_, static_cast<int>(areaWidth * ratio),
                                   static_cast<int>(areaHeight * ratio));
  if (fit.width > 0)
    emscripten_set_element_css_size(kCanvas, fit.width / ratio, fit.height / ratio);
}

void WebHost::ShowFrame(const Frame& frame) {
  if (screenOpen_) {
    if (drawnText_ != shownText_) pb_heads_up(drawnText_.c_str());
    shownText_.swap(drawnText_);
    drawnText_.clear();
    if (onGpu_)
      ShowOnGpu(frame);
    else
      ShowOnCanvas(frame);
  }
  // The game steps inside the page's own frames, so that each picture is painted at the
  // refresh its step ran in; the deadline skips those a display faster than the pace brings
  // early, and a hidden page, which has none, holds the game. It runs on the frames' own
  // times: counted from the end of a step, a slow step or a late callback would make the
  // next refresh look early and lose it.
  deadline_.AfterPresent(pageFrameMicros_ != 0 ? pageFrameMicros_ : NowMicros());
  do {
    pageFrameMicros_ = static_cast<std::int64_t>(pb_next_page_frame() * kMicrosPerMilli);
  } while (!deadline_.IsDue(pageFrameMicros_));
}

void WebHost::ShowOnGpu(const Frame& frame) {
  if (pb_gpu_wants_whole() != 0) textureRows_.Forget();
  for (const RowRun& run : textureRows_.Take(frame)) {
    pb_gpu_upload(frame.Row(run.first), run.first, frame.width, run.count,
                  frame.pitchBytes / static_cast<int>(sizeof(std::uint16_t)));
  }
  pb_gpu_present();
}

void WebHost::ShowOnCanvas(const Frame& frame) {
  const ChangedRect changed = image_.Update(frame);
  const std::uint8_t* pixels = changed.height > 0 ? image_.Pixels(changed) : nullptr;
  pb_present(pixels, changed.x, changed.y, changed.width, changed.height);
}

// Yields to the browser at least once, even for a time already reached.
void WebHost::WaitUntil(std::int64_t micros) {
  do {
    clock_.sleepUntilMicros(micros);
  } while (NowMicros() < micros);
}

void WebHost::Queue(Event::Kind kind, std::uint32_t virtualKey) { pending_.Push(kind, virtualKey); }

void WebHost::Key(const KeyReport& key) {
  keys_.Key(key, NowMicros(), mouse_);
  Event event;
  if (TranslateKey(key, event) == KeyUse::kGame) Queue(event.kind, event.virtualKey);
}

bool WebHost::PollEvent(Event& event) { return pending_.Pop(event); }

void WebHost::Pad(bool present, double across, unsigned held) {
  pad_.Poll(present, across, held, NowMicros(), keys_, mouse_,
            [this](const KeyReport& key) { Key(key); });
}

void WebHost::LoseFocus() { keys_.LoseFocus(NowMicros(), mouse_); }

MouseState WebHost::TakeMouse() {
  keys_.Advance(NowMicros(), mouse_);
  return mouse_.Take();
}

void WebHost::SetTitle(const char* title) { pb_set_title(title != nullptr ? title : ""); }

void WebHost::SetCursorVisible(bool visible) { pb_set_cursor_visible(visible ? 1 : 0); }

void WebHost::PlaySound(const char* path, bool wait) {
  pb_audio_stop();
  if (path == nullptr) return;
  std::vector<std::uint8_t> bytes;
  WavLayout layout;
  if (!LoadWavFile(path, bytes, layout)) return;
  const std::vector<float> samples = PlanarCueSamples(bytes, layout);
  const int sound = pb_audio_play(samples.data(), samples.size() / layout.channels, layout.channels,
                                  static_cast<int>(layout.sampleRate));
  if (!wait) return;
  HoldForCue(CueHold(NowMicros(), CueMicros(layout)), clock_,
             [sound] { return sound != 0 && pb_audio_playing(sound) != 0; });
}

void WebHost::StopSound() { pb_audio_stop(); }

std::int64_t WebHost::NowMicros() {
  return static_cast<std::int64_t>(emscripten_get_now() * static_cast<double>(kMicrosPerMilli));
}

void WebHost::SleepMicros(std::int64_t micros) {
  if (micros <= 0) return;
  const std::int64_t now = NowMicros();
  const std::int64_t until = now + micros;
  if (now - pageFrameMicros_ >= deadline_.periodMicros()) {
    WaitUntil(until);
    return;
  }
  // Inside a page frame this is the game holding a flip that came back early for the rest
  // of its refresh (page frames do, after a callback that ran late). On the browser's timer
  // its next step would run between page frames, be painted a refresh late, and the hold
  // would keep that beat for good; so the wait ends in the next page frame, where the step
  // is painted at once. Spinning instead would keep the beat and burn the main thread.
  do {
    pageFrameMicros_ = static_cast<std::int64_t>(pb_next_page_frame() * kMicrosPerMilli);
  } while (NowMicros() < until);
}

void WebHost::ShowMessage(const char* text, const char* caption) {
  // The page shows the text as the box would, and the game waits until it is dismissed.
  pb_show_message(text != nullptr ? text : "", caption != nullptr ? caption : "");
  while (pb_message_showing() != 0) emscripten_sleep(kPollMillis * 10);
}

void WebHost::DebugOutput(const char* text) {
  if (text != nullptr) emscripten_log(EM_LOG_CONSOLE, "%s", text);
}

void WebHost::NoteText(std::string_view text) {
  // More than a frame's labels would be text drawn with no frame shown: kept no further.
  constexpr std::size_t kMostKept = 4096;
  if (drawnText_.size() + text.size() >= kMostKept) return;
  if (!drawnText_.empty()) drawnText_.push_back('\n');
  drawnText_.append(text);
}

void WebHost::ShowEnd(int exitCode) { pb_show_end(exitCode); }

}  // namespace host
