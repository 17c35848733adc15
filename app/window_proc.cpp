#include "app/window.h"

WNDCLASSEXA windowClass = {};
HWND mainWindow = nullptr;
HDC sharedDc = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      sharedDc = BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      // Every key is swallowed; only Escape does anything.
      if (wParam == VK_ESCAPE) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
