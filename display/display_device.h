// The full-screen display: the DirectDraw object, the flipping pair of surfaces, presentation.
#pragma once

#include "platform/platform.h"

extern IDirectDraw* directDraw;
extern IDirectDrawSurface* primarySurface;
extern IDirectDrawSurface* backBuffer;  // always the surface that is not on screen
extern DDSURFACEDESC surfaceDesc;       // scratch record reused by every surface creation

// Takes the screen at 1024 x 768 x 16 with one back buffer; reports each failing step.
void InitDisplay();
// Flips the back buffer to the screen, holding the frame to one refresh.
void PresentFrame();
