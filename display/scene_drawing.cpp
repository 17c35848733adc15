// Drawing the scene objects into the back buffer: one blit per sprite, GDI text per label.
#include "app/window.h"
#include "display/display_device.h"
#include "scene/sprite.h"
#include "scene/text_label.h"

void Sprite::Draw(IDirectDrawSurface* target) {
  if (target == nullptr || surface == nullptr) return;
  // A left edge of 0 means "the whole target": that is how the arena becomes the background.
  if (bounds.left != 0) {
    RECT destination = bounds;
    target->Blt(&destination, surface, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr);
  } else {
    target->Blt(nullptr, surface, nullptr, DDBLT_WAIT, nullptr);
  }
}

void TextLabel::Draw() {
  constexpr COLORREF kBlack = 0x000000;
  constexpr COLORREF kWhite = 0xFFFFFF;
  if (text == nullptr || backBuffer == nullptr) return;
  // Without a fresh context sharedDc would name one already released: skip the label.
  if (backBuffer->GetDC(&sharedDc) != DD_OK) return;
  SetBkColor(sharedDc, kBlack);
  SetBkMode(sharedDc, OPAQUE);
  SetTextColor(sharedDc, kWhite);
  RECT area = bounds;
  DrawTextA(sharedDc, text.get(), -1, &area, DT_LEFT | DT_TOP);
  backBuffer->ReleaseDC(sharedDc);
}
