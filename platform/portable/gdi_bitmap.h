// GDI bitmap objects: RGB565 pixels behind an HBITMAP, kept in a registry so that any
// handle can be checked before it is used.
#pragma once

#include "portable/gdi.h"
#include "portable/pixel_buffer.h"

namespace portable {

struct GdiBitmap {
  PixelBuffer pixels;
  HDC selectedInto = nullptr;  // GDI refuses to delete a bitmap selected into a context
};

// Takes the pixels over as a new bitmap object.
HBITMAP NewBitmap(PixelBuffer pixels);
// The bitmap behind a handle, or null for anything that is not a live bitmap.
GdiBitmap* FindBitmap(HGDIOBJ object);

}  // namespace portable
