// The program's entry: window, start-up in order, and the loop that ticks when idle.
#include "app/window.h"
#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "game/frame_tick.h"
#include "input/mouse.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

bool RegisterWindowClass(HINSTANCE instance) {
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = "Example Window";
  windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
  return RegisterClassExA(&windowClass) != 0;
}

// Handles one message a turn and runs a frame tick only when none is waiting.
int RunMessageLoop() {
  MSG msg;
  for (;;) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      FrameTick();
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCode*/) {
  if (!RegisterWindowClass(instance)) return 0;
  mainWindow = CreateWindowExA(WS_EX_TOPMOST, "Example Window", "DirectDraw Example",
                               WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, kScreenWidth, kScreenHeight,
                               nullptr, nullptr, instance, nullptr);
  if (mainWindow == nullptr) return 0;
  ShowCursor(FALSE);
  InitDisplay();
  InitInput();
  LoadScene();
  return RunMessageLoop();
}
