// The main window, its class record and the device-context variable shared with drawing.
#pragma once

#include "platform/platform.h"

extern WNDCLASSEXA windowClass;
extern HWND mainWindow;
extern HDC sharedDc;  // the last paint or label device context; never read across uses

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
