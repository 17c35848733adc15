// Display utilities beside the sprite loaders: surfaces sized to a bitmap, palettes from a
// bitmap's colour table, and raw pixel values and colour keys for RGB colours.
#pragma once

#include "platform/platform.h"

// A new offscreen surface of the bitmap's size, filled from it; null when none is made.
IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* directDraw, const char* path, int dx, int dy);
// A 256-entry palette: the bitmap's colours over a 3-3-2 ramp (the ramp alone for null).
IDirectDrawPalette* LoadBitmapPalette(IDirectDraw* directDraw, const char* path);
// The raw pixel value the surface uses for `color` (CLR_INVALID: read without drawing).
DWORD MatchSurfaceColor(IDirectDrawSurface* surface, COLORREF color);
// Makes the raw value of `color` the surface's source colour key.
HRESULT SetSurfaceColorKey(IDirectDrawSurface* surface, COLORREF color);
