// Window classes, windows and the thread's message queue, fed by the host's events.
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "portable/device_context.h"
#include "portable/fault_table.h"
#include "portable/text_renderer.h"
#include "portable/win32.h"

struct HWND__ {
  WNDPROC procedure = nullptr;
  bool destroyed = false;
  bool needsPaint = false;
};

namespace {

struct Registered {
  std::string name;
  WNDCLASSEXA record;
};

struct Queue {
  std::vector<Registered> classes;
  std::vector<std::unique_ptr<HWND__>> windows;
  std::deque<MSG> posted;
  bool quitPosted = false;
  int quitCode = 0;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

HWND MainWindow() {
  for (auto& window : TheQueue().windows) {
    if (!window->destroyed) return window.get();
  }
  return nullptr;
}

void Post(HWND window, UINT message, WPARAM wParam) {
  TheQueue().posted.push_back(MSG{window, message, wParam, 0, 0, {0, 0}});
}

// Turns what the user did into the messages the window would receive.
void PumpHostEvents() {
  host::Event event;
  while (host::Current().PollEvent(event)) {
    HWND window = MainWindow();
    if (window == nullptr) continue;
    switch (event.kind) {
      case host::Event::Kind::kKeyDown:
        Post(window, WM_KEYDOWN, event.virtualKey);
        break;
      case host::Event::Kind::kKeyUp:
        Post(window, WM_KEYUP, event.virtualKey);
        break;
      case host::Event::Kind::kSysKeyDown:
        Post(window, WM_SYSKEYDOWN, event.virtualKey);
        break;
      case host::Event::Kind::kSysKeyUp:
        Post(window, WM_SYSKEYUP, event.virtualKey);
        break;
      case host::Event::Kind::kClose:
        Post(window, WM_SYSCOMMAND, SC_CLOSE);
        break;
      case host::Event::Kind::kExpose:
        window->needsPaint = true;
        break;
    }
  }
}

// Like the platform's, a paint message stays until the window is painted.
bool TakePaint(LPMSG msg) {
  for (auto& window : TheQueue().windows) {
    if (window->destroyed || !window->needsPaint) continue;
    *msg = MSG{window.get(), WM_PAINT, 0, 0, 0, {0, 0}};
    return true;
  }
  return false;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window == nullptr || window->procedure == nullptr) return 0;
  return window->procedure(window, message, wParam, lParam);
}

}  // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr ||
      !portable::Allowed(portable::Call::kRegisterClass)) {
    return 0;
  }
  auto& classes = TheQueue().classes;
  classes.push_back({windowClass->lpszClassName, *windowClass});
  return static_cast<ATOM>(classes.size());
}

HWND CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD style, int /*x*/,
                     int /*y*/, int /*width*/, int /*height*/, HWND /*parent*/, HMENU /*menu*/,
                     HINSTANCE /*instance*/, LPVOID /*param*/) {
  if (className == nullptr || !portable::Allowed(portable::Call::kCreateWindow)) return nullptr;
  for (const auto& registered : TheQueue().classes) {
    if (registered.name != className) continue;
    auto window = std::make_unique<HWND__>();
    window->procedure = registered.record.lpfnWndProc;
    window->needsPaint = (style & WS_VISIBLE) != 0;
    host::Current().SetTitle(windowName != nullptr ? windowName : "");
    portable::TextFontReady();
    TheQueue().windows.push_back(std::move(window));
    return TheQueue().windows.back().get();
  }
  return nullptr;
}

BOOL DestroyWindow(HWND window) {
  if (window == nullptr || window->destroyed) return FALSE;
  window->destroyed = true;
  Send(window, WM_DESTROY, 0, 0);
  return TRUE;
}

int ShowCursor(BOOL show) {
  static int displayCount = 0;
  displayCount += show ? 1 : -1;
  host::Current().SetCursorVisible(displayCount >= 0);
  return displayCount;
}

BOOL PeekMessageA(LPMSG msg, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/,
                  UINT removeMsg) {
  PumpHostEvents();
  Queue& queue = TheQueue();
  const bool remove = (removeMsg & PM_REMOVE) != 0;
  if (!queue.posted.empty()) {
    *msg = queue.posted.front();
    if (remove) queue.posted.pop_front();
    return TRUE;
  }
  if (queue.quitPosted) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, 0, {0, 0}};
    if (remove) queue.quitPosted = false;
    return TRUE;
  }
  return TakePaint(msg) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG* /*msg*/) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr || msg->hwnd->destroyed) return 0;
  return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      if (wParam == SC_CLOSE) Send(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) Post(window, WM_SYSCOMMAND, SC_CLOSE);
      return 0;
    case WM_PAINT:
      if (window != nullptr) window->needsPaint = false;
      return 0;
    default:
      return 0;
  }
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  Post(window, message, wParam);
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  TheQueue().quitPosted = true;
  TheQueue().quitCode = exitCode;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  if (window == nullptr) return nullptr;
  window->needsPaint = false;
  HDC dc = portable::OpenWindowDc();
  if (paint != nullptr) {
    std::memset(paint, 0, sizeof(*paint));
    paint->hdc = dc;
  }
  return dc;
}

BOOL EndPaint(HWND /*window*/, const PAINTSTRUCT* paint) {
  if (paint != nullptr) portable::CloseWindowDc(paint->hdc);
  return TRUE;
}

int MessageBoxA(HWND /*window*/, LPCSTR text, LPCSTR caption, UINT /*type*/) {
  host::Current().ShowMessage(text, caption);
  return IDOK;
}

namespace {
// Stock objects the game only stores; their addresses are their identities.
HICON__* StockIcon() {
  static char icon;
  return reinterpret_cast<HICON__*>(&icon);
}
}  // namespace

HICON LoadIconA(HINSTANCE /*instance*/, LPCSTR /*name*/) { return StockIcon(); }
HCURSOR LoadCursorA(HINSTANCE /*instance*/, LPCSTR /*name*/) { return StockIcon(); }
HGDIOBJ GetStockObject(int /*object*/) {
  static char brush;
  return reinterpret_cast<HGDIOBJ__*>(&brush);
}
