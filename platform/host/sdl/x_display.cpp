#include "host/sdl/x_display.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace host {
namespace {

constexpr int kExitStatus = 1;
constexpr int kFewestBits = 15;

struct DisplayClose {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

// Nothing may call back into Xlib or SDL from here: the connection is broken or mid-reply.
[[noreturn]] void EndWith(const char* what, const char* detail) {
  std::fprintf(stderr, "paddleball: %s: %s\n", what, detail);
  std::fflush(stderr);
  std::_Exit(kExitStatus);
}

int OnXError(Display* display, XErrorEvent* event) {
  char text[128] = "";
  XGetErrorText(display, event->error_code, text, sizeof(text));
  EndWith("the X server refused the game's window (closed from outside?)", text);
}

int OnXConnectionLost(Display* display) {
  EndWith("lost the connection to the X display", DisplayString(display));
}

}  // namespace

bool ChooseTrueColorVisual(std::string& error) {
  if (SDL_GetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID) != nullptr) return true;  // the user's
  const std::unique_ptr<Display, DisplayClose> display(XOpenDisplay(nullptr));
  if (!display) return true;  // SDL has just opened it; if it is gone now, SDL will say so
  const int screen = DefaultScreen(display.get());
  // The screen's own depth first: it needs no conversion on the server. Fewer than 15 bits
  // cannot show the pictures, and SDL has no format for some 8-bit layouts.
  const int depths[] = {DefaultDepth(display.get(), screen), 24, 30, 16, 15};
  XVisualInfo found{};
  for (const int depth : depths) {
    if (depth < kFewestBits ||
        XMatchVisualInfo(display.get(), screen, depth, TrueColor, &found) == 0)
      continue;
    char id[32];
    std::snprintf(id, sizeof(id), "%lu", found.visualid);
    SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, id);
    return true;
  }
  error = std::string("the X display ") + DisplayString(display.get()) +
          " has no TrueColor visual of 15 bits or more to draw the game with";
  return false;
}

void EndOnXFaults() {
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnXConnectionLost);
}

}  // namespace host
