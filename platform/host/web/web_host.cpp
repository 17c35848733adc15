#include "host/web/web_host.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/emulated_mode.h"
#include "host/placement.h"
#include "host/wav_file.h"
#include "host/web/cue_samples.h"
#include "host/web/page_calls.h"
#include "host/web/page_mouse.h"

namespace host {
namespace {

constexpr std::uint32_t kEscapeKey = 0x1B;
constexpr unsigned kPollMillis = 4;
constexpr std::int64_t kMicrosPerMilli = 1000;
// A sound the page never gets to play must not hold the game for ever.
constexpr std::int64_t kStallAllowanceMicros = 2'000'000;
constexpr const char* kCanvas = "#canvas";
constexpr const char* kStage = "#stage";

WebHost& HostOf(void* userData) { return *static_cast<WebHost*>(userData); }

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* key, void* userData) {
  const bool down = eventType == EMSCRIPTEN_EVENT_KEYDOWN;
  // Browsers number keys by the virtual-key codes the game expects.
  const auto virtualKey = static_cast<std::uint32_t>(key->keyCode);
  if (virtualKey == 0 || key->repeat) return EM_FALSE;
  // Keys held with Alt are system keys, as the desktop reports them.
  if (key->altKey) {
    HostOf(userData).Queue(down ? Event::Kind::kSysKeyDown : Event::Kind::kSysKeyUp, virtualKey);
  } else {
    HostOf(userData).Queue(down ? Event::Kind::kKeyDown : Event::Kind::kKeyUp, virtualKey);
  }
  // Only Escape is the game's; every other key keeps its meaning to the browser.
  return virtualKey == kEscapeKey ? EM_TRUE : EM_FALSE;
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
  if (!change->isActive) HostOf(userData).mouse().ReleaseAll();
  return EM_FALSE;
}

EM_BOOL OnBlur(int /*eventType*/, const EmscriptenFocusEvent* /*focus*/, void* userData) {
  HostOf(userData).mouse().ReleaseAll();
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

// A touch's tap, as the mouse button the page numbers `button`.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_button(void* web, int button, int down) {
  PageButton(HostOf(web).mouse(), button, down != 0);
}

// The page's End control, as the key the desktop's keyboard would send.
extern "C" EMSCRIPTEN_KEEPALIVE void pb_key(void* web, int virtualKey, int down) {
  HostOf(web).Queue(down != 0 ? Event::Kind::kKeyDown : Event::Kind::kKeyUp,
                    static_cast<std::uint32_t>(virtualKey));
}

WebHost::WebHost() : deadline_(kEmulatedHertz) {}

WebHost::~WebHost() { pb_audio_stop(); }

bool WebHost::OpenScreen(int width, int height, int /*bitsPerPixel*/) {
  if (screenOpen_) return true;
  if (width <= 0 || height <= 0) return false;
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
  if (!screenOpen_) return;
  if (drawnText_ != shownText_) pb_heads_up(drawnText_.c_str());
  shownText_.swap(drawnText_);
  drawnText_.clear();
  if (onGpu_) {
    ShowOnGpu(frame);
  } else {
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

void WebHost::WaitUntil(std::int64_t micros) {
  std::int64_t now = NowMicros();
  do {
    // Rounded up: waking early would cost another turn of the browser's timer.
    const std::int64_t left = std::max<std::int64_t>(micros - now, 0);
    emscripten_sleep(static_cast<unsigned>((left + kMicrosPerMilli - 1) / kMicrosPerMilli));
    now = NowMicros();
  } while (now < micros);
}

void WebHost::Queue(Event::Kind kind, std::uint32_t virtualKey) { pending_.Push(kind, virtualKey); }

bool WebHost::PollEvent(Event& event) { return pending_.Pop(event); }

MouseState WebHost::TakeMouse() { return mouse_.Take(); }

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
  if (sound == 0 || !wait) return;
  const auto lasts = static_cast<std::int64_t>(std::ceil(WavDurationSeconds(layout) * 1e6));
  const std::int64_t giveUpAt = NowMicros() + lasts + kStallAllowanceMicros;
  while (pb_audio_playing(sound) != 0 && NowMicros() < giveUpAt) emscripten_sleep(kPollMillis);
}

void WebHost::StopSound() { pb_audio_stop(); }

std::int64_t WebHost::NowMicros() {
  return static_cast<std::int64_t>(emscripten_get_now() * static_cast<double>(kMicrosPerMilli));
}

void WebHost::SleepMicros(std::int64_t micros) {
  const std::int64_t now = NowMicros();
  const std::int64_t until = now + std::max<std::int64_t>(micros, 0);
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
