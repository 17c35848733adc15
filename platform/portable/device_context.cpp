// Window and memory device contexts, bitmap selection and the colour and mode state of GDI.
#include "portable/device_context.h"

#include <memory>
#include <unordered_map>

#include "portable/gdi_bitmap.h"
#include "portable/hdc.h"

namespace portable {
namespace {

std::unordered_map<HDC, std::unique_ptr<HDC__>>& MemoryDcs() {
  static std::unordered_map<HDC, std::unique_ptr<HDC__>> contexts;
  return contexts;
}

// What a fresh memory context holds before a bitmap is selected: nothing to draw on.
HGDIOBJ DefaultBitmap() {
  static char stock;
  return reinterpret_cast<HGDIOBJ>(&stock);
}

bool Usable(HDC dc) { return dc != nullptr && dc->live; }

}  // namespace

HDC OpenWindowDc() {
  // Painting the window has no visible effect: the display shows only flipped frames.
  static HDC__ windowDc;
  windowDc = HDC__{};
  return &windowDc;
}

void CloseWindowDc(HDC dc) {
  if (dc != nullptr) dc->live = false;
}

}  // namespace portable

HDC CreateCompatibleDC(HDC /*dc*/) {
  auto context = std::make_unique<HDC__>();
  context->memory = true;
  context->selected = portable::DefaultBitmap();
  HDC handle = context.get();
  portable::MemoryDcs().emplace(handle, std::move(context));
  return handle;
}

BOOL DeleteDC(HDC dc) {
  const auto found = portable::MemoryDcs().find(dc);
  if (found == portable::MemoryDcs().end()) return FALSE;
  if (portable::GdiBitmap* bitmap = portable::FindBitmap(dc->selected)) {
    bitmap->selectedInto = nullptr;
  }
  portable::MemoryDcs().erase(found);
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  portable::GdiBitmap* bitmap = portable::FindBitmap(object);
  if (!portable::Usable(dc) || !dc->memory || bitmap == nullptr) return nullptr;
  if (bitmap->selectedInto != nullptr && bitmap->selectedInto != dc) return nullptr;
  HGDIOBJ previous = dc->selected;
  if (portable::GdiBitmap* old = portable::FindBitmap(previous)) old->selectedInto = nullptr;
  bitmap->selectedInto = dc;
  dc->selected = object;
  dc->target = &bitmap->pixels;
  return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  if (!portable::Usable(dc)) return CLR_INVALID;
  const COLORREF previous = dc->backgroundColor;
  dc->backgroundColor = color;
  return previous;
}

int SetBkMode(HDC dc, int mode) {
  if (!portable::Usable(dc) || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
  const int previous = dc->backgroundMode;
  dc->backgroundMode = mode;
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  if (!portable::Usable(dc)) return CLR_INVALID;
  const COLORREF previous = dc->textColor;
  dc->textColor = color;
  return previous;
}
