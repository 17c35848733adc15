#include "host/sdl/window_mode.h"

#include <algorithm>

#include "host/placement.h"

namespace host {

WindowSize WindowedSize(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || areaWidth <= 0 || areaHeight <= 0) return {};
  const int multiple = std::min(areaWidth / pictureWidth, areaHeight / pictureHeight);
  if (multiple >= 1) return {pictureWidth * multiple, pictureHeight * multiple};
  const Placement fitted = FitPicture(pictureWidth, pictureHeight, areaWidth, areaHeight);
  return {fitted.width, fitted.height};
}

namespace {

SDL_Rect UsableArea(SDL_Window* window) {
  const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
  SDL_Rect area = {0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(display, &area) != 0) SDL_GetDisplayBounds(display, &area);
  return area;
}

}  // namespace

void ToggleFullScreen(SDL_Window* window, int pictureWidth, int pictureHeight) {
  if (window == nullptr) return;
  if ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
    // Covering the screen first does it where no window manager makes a window full-screen.
    SDL_Rect screen = {0, 0, 0, 0};
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &screen) == 0) {
      SDL_SetWindowPosition(window, screen.x, screen.y);
      SDL_SetWindowSize(window, screen.w, screen.h);
    }
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    return;
  }
  // The usable area is measured while still full screen, on the display the game is on.
  const SDL_Rect area = UsableArea(window);
  const WindowSize size = WindowedSize(pictureWidth, pictureHeight, area.w, area.h);
  SDL_SetWindowFullscreen(window, 0);
  if (size.width <= 0) return;  // no usable area known: leave the size to the window manager
  SDL_SetWindowResizable(window, SDL_TRUE);
  SDL_SetWindowSize(window, size.width, size.height);
  SDL_SetWindowPosition(window, area.x + (area.w - size.width) / 2,
                        area.y + (area.h - size.height) / 2);
}

}  // namespace host
