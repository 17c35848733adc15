#include "host/sdl/sdl_host.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "host/key_translation.h"
#include "host/picture_limits.h"
#include "host/sdl/display_start.h"
#include "host/sdl/renderer_probe.h"
#include "host/sdl/sdl_audio.h"
#include "host/sdl/surface_presenter.h"
#include "host/sdl/texture_presenter.h"
#include "host/sdl/virtual_keys.h"
#include "host/sdl/window_mode.h"

namespace host {
namespace {

// An explicit setting of SDL's own framebuffer hint wins; otherwise ask the machine.
bool WantsRenderer(SdlHost::Presentation presentation) {
  if (presentation != SdlHost::Presentation::kChooseForMachine) {
    return presentation == SdlHost::Presentation::kRenderer;
  }
  const char* hint = SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
  if (hint != nullptr) {
    return SDL_strcasecmp(hint, "software") != 0 &&
           SDL_GetHintBoolean(SDL_HINT_FRAMEBUFFER_ACCELERATION, SDL_FALSE);
  }
  return HasHardwareRenderer();
}

PadButton PadButtonOf(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::kSouth;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::kEast;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::kStart;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::kLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::kRight;
    default:
      return PadButton::kOther;
  }
}

// Short sleeps, so events are still taken while a frame is held.
constexpr std::int64_t kLongestSleepMicros = 8000;

}  // namespace

std::unique_ptr<SdlHost> SdlHost::Create(std::string& error, Presentation presentation,
                                         HostClock clock) {
  const bool useRenderer = WantsRenderer(presentation);  // before SDL starts: it may fork
  // The window surface must be the X server's own image, not a texture of a GL renderer.
  if (!useRenderer) {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
  }
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");  // the first click counts
  if (!StartDisplay(error)) return nullptr;
  // Without pads the game is still played with the mouse and keys.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "paddleball: no gamepads: %s\n", SDL_GetError());
  }
  std::unique_ptr<SdlHost> created(new SdlHost(useRenderer, std::move(clock)));
  created->audio_ = std::make_unique<SdlAudio>(created->clock_);
  return created;
}

SdlHost::SdlHost(bool useRenderer, HostClock clock)
    : wantsRenderer_(useRenderer), clock_(std::move(clock)), deadline_(kEmulatedHertz) {}

SdlHost::~SdlHost() {
  presenter_.reset();
  audio_.reset();
  if (pad_ != nullptr) SDL_GameControllerClose(pad_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool SdlHost::OpenScreen(int width, int height, int /*bitsPerPixel*/) {
  if (window_ != nullptr) return true;
  if (!FitsPictureLimits(width, height)) return false;
  // The desktop keeps its own mode: nothing needs restoring however the program ends. The
  // window starts as large as the screen, for where no window manager makes it full-screen.
  SDL_Rect screen = {SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height};
  SDL_GetDisplayBounds(0, &screen);
  window_ = SDL_CreateWindow(title_.c_str(), screen.x, screen.y, screen.w, screen.h,
                             SDL_WINDOW_FULLSCREEN_DESKTOP);
  if (window_ == nullptr) {
    // The game can say only that the mode failed; SDL's reason goes beside it.
    std::fprintf(stderr, "paddleball: cannot make the window: %s\n", SDL_GetError());
    return false;
  }
  pictureWidth_ = width;
  pictureHeight_ = height;
  if (wantsRenderer_) TryRenderer();
  // SDL names no pixel format for some deep screens (30 bits) and gives them no window
  // surface; a renderer converts for them.
  if (!usesRenderer_ && SDL_GetWindowSurface(window_) == nullptr) TryRenderer();
  if (!usesRenderer_) UseWindowSurface();
  SDL_RaiseWindow(window_);
  SDL_SetRelativeMouseMode(SDL_TRUE);
  TakeHeldButtons();
  return true;
}

// A polled mouse reports a button already down when the program starts; SDL tells only of
// presses made over its window. Its release may go elsewhere, so it counts as one press.
void SdlHost::TakeHeldButtons() {
  background_.Read(mouse_);
  background_.Forget();
  mouse_.ReleaseAll();
}

void SdlHost::SetTitle(const char* title) {
  title_ = title != nullptr ? title : "";
  if (window_ != nullptr) SDL_SetWindowTitle(window_, title_.c_str());
}

void SdlHost::TryRenderer() {
  auto renderer = std::make_unique<TexturePresenter>(window_);
  usesRenderer_ = renderer->Ready();
  if (usesRenderer_) presenter_ = std::move(renderer);
}

void SdlHost::UseWindowSurface() {
  presenter_.reset();  // a renderer must let go of the window before its surface can be had
  presenter_ = std::make_unique<SurfacePresenter>(window_);
  usesRenderer_ = false;
}

void SdlHost::ShowFrame(const Frame& frame) {
  // Shown as soon as the game has drawn it, then held to the mode's next refresh as a
  // display's flip is; the game reads the mouse for its next frame right after.
  const std::int64_t presentedAt = clock_.nowMicros();
  Present(frame);
  HoldUntil(deadline_.AfterPresent(presentedAt));
}

// Events are taken between short sleeps, so that the next step reads input as late as the
// pace allows. Each sleep wakes at a set time: one woken late is not followed by a longer one.
void SdlHost::HoldUntil(std::int64_t deadlineMicros) {
  for (std::int64_t now = clock_.nowMicros(); now < deadlineMicros; now = clock_.nowMicros()) {
    clock_.sleepUntilMicros(std::min(deadlineMicros, now + kLongestSleepMicros));
    TakeEvents();
  }
}

void SdlHost::Present(const Frame& frame) {
  // A window surface that failed is fetched again for the next frame; a renderer that failed
  // gives way to the window surface for good.
  if (presenter_ == nullptr || presenter_->Present(frame) || !usesRenderer_) return;
  std::fprintf(stderr, "paddleball: drawing without the renderer: %s\n", SDL_GetError());
  UseWindowSurface();
  presenter_->Present(frame);
}

void SdlHost::TakeEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) Handle(event);
  // Unfocused, the desktop's pointer is the one source: the window's own events would count
  // movement over it twice and miss clicks elsewhere.
  if (!HasFocus()) background_.Read(mouse_);
}

void SdlHost::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      Queue(Event::Kind::kClose);
      break;
    case SDL_WINDOWEVENT:
      HandleWindowEvent(event.window);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(event.key);
      break;
    case SDL_MOUSEMOTION:
      if (HasFocus()) mouse_.Move(event.motion.xrel, event.motion.yrel);
      break;
    case SDL_MOUSEWHEEL:
      mouse_.Wheel(event.wheel.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      mouse_.Hold(DeviceButton(event.button.button), event.button.state == SDL_PRESSED);
      break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      HandlePad(event);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      if (presenter_ != nullptr) presenter_->Invalidate();
      break;
    default:
      break;
  }
}

void SdlHost::HandleWindowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      Queue(Event::Kind::kClose);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      Queue(Event::Kind::kExpose);
      if (presenter_ != nullptr) presenter_->Invalidate();
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      keys_.LoseFocus(clock_.nowMicros(), mouse_);
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      background_.Forget();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
      if (presenter_ != nullptr) presenter_->Invalidate();
      break;
    default:
      break;
  }
}

void SdlHost::HandleKey(const SDL_KeyboardEvent& event) {
  const KeyReport key = {VirtualKeyFor(event.keysym.sym), event.type == SDL_KEYDOWN,
                         (event.keysym.mod & KMOD_ALT) != 0, event.repeat != 0};
  keys_.Key(key, clock_.nowMicros(), mouse_);
  GameKey(key);
}

void SdlHost::GameKey(const KeyReport& key) {
  Event translated;
  switch (TranslateKey(key, translated)) {
    case KeyUse::kGame:
      Queue(translated.kind, translated.virtualKey);
      break;
    case KeyUse::kWindowMode:
      ToggleFullScreen(window_, pictureWidth_, pictureHeight_);
      break;
    case KeyUse::kNobody:
      break;
  }
}

// The first pad steers; another plugged in waits until it is gone.
void SdlHost::HandlePad(const SDL_Event& event) {
  const std::int64_t now = clock_.nowMicros();
  if (event.type == SDL_CONTROLLERDEVICEADDED) {
    if (pad_ == nullptr) pad_ = SDL_GameControllerOpen(event.cdevice.which);
    return;
  }
  const SDL_JoystickID from = event.type == SDL_CONTROLLERAXISMOTION      ? event.caxis.which
                              : event.type == SDL_CONTROLLERDEVICEREMOVED ? event.cdevice.which
                                                                          : event.cbutton.which;
  if (pad_ == nullptr || from != SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_))) {
    return;
  }
  constexpr double kStickTravel = 32767;
  switch (event.type) {
    case SDL_CONTROLLERDEVICEREMOVED:  // SDL has already let go of its buttons and stick
      SDL_GameControllerClose(pad_);
      pad_ = nullptr;
      OpenFirstPad();
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        keys_.Stick(event.caxis.value / kStickTravel, now, mouse_);
      }
      break;
    default: {
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      const std::uint32_t key = keys_.Pad(PadButtonOf(event.cbutton.button), down, now, mouse_);
      if (key != 0) GameKey({key, down});
      break;
    }
  }
}

void SdlHost::OpenFirstPad() {
  for (int i = 0; i < SDL_NumJoysticks() && pad_ == nullptr; ++i) {
    if (SDL_IsGameController(i)) pad_ = SDL_GameControllerOpen(i);
  }
}

void SdlHost::Queue(Event::Kind kind, std::uint32_t virtualKey) { pending_.Push(kind, virtualKey); }

bool SdlHost::PollEvent(Event& event) {
  TakeEvents();
  return pending_.Pop(event);
}

MouseState SdlHost::TakeMouse() {
  TakeEvents();
  keys_.Advance(clock_.nowMicros(), mouse_);
  return mouse_.Take();
}

bool SdlHost::HasFocus() const {
  return window_ == nullptr || (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlHost::SetCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void SdlHost::PlaySound(const char* path, bool wait) {
  if (path == nullptr) return audio_->Stop();
  audio_->Play(path, wait);
}

void SdlHost::StopSound() { audio_->Stop(); }

std::int64_t SdlHost::NowMicros() { return clock_.nowMicros(); }

void SdlHost::SleepMicros(std::int64_t micros) {
  if (micros > 0) clock_.sleepUntilMicros(clock_.nowMicros() + micros);
}

void SdlHost::ShowMessage(const char* text, const char* caption) {
  const char* body = text != nullptr ? text : "";
  const char* title = caption != nullptr ? caption : "";
  // The box needs a free pointer; the game gets its grabbed one back afterwards.
  const bool relative = SDL_GetRelativeMouseMode() == SDL_TRUE;
  const int cursor = SDL_ShowCursor(SDL_QUERY);
  SDL_SetRelativeMouseMode(SDL_FALSE);
  SDL_ShowCursor(SDL_ENABLE);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, body, window_) != 0) {
    std::fprintf(stderr, "%s: %s\n", title, body);
  }
  SDL_ShowCursor(cursor);
  SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
}

void SdlHost::DebugOutput(const char* text) {
  if (text != nullptr) std::fputs(text, stderr);
}

}  // namespace host
