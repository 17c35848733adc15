// Creating the sprites' surfaces and filling them from bitmap resources or files.
#pragma once

#include "platform/platform.h"

// Loads the named bitmap (resource first, then file) stretched over the whole surface.
HRESULT ReloadBitmap(IDirectDrawSurface* surface, const char* path);
// Copies the bitmap's rectangle (x, y, dx, dy) over the whole surface; 0 means the full size.
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx,
                            int dy);
// Serves the first ball, then makes and fills the arena, ball and paddle surfaces.
void LoadScene();
// Gives lost sprite surfaces back their memory and their pictures.
void RestoreScene();
