// Alt+Enter: the desktop build between a full-screen window and an ordinary one.
#pragma once

#include <SDL.h>

namespace host {

struct WindowSize {
  int width = 0;
  int height = 0;
};

// The largest whole multiple of the picture that fits the area, or, where not even one does,
// the picture scaled down to fit with its shape kept; empty when a size is not positive.
WindowSize WindowedSize(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// Leaves full screen for a resizable window of WindowedSize in the desktop's usable area,
// centred there, or goes back to full screen.
void ToggleFullScreen(SDL_Window* window, int pictureWidth, int pictureHeight);

}  // namespace host
