// A DirectDraw palette: 256 colour entries kept for whoever reads them back.
#pragma once

#include <array>

#include "portable/ddraw.h"

namespace portable {

class Palette final : public IDirectDrawPalette {
 public:
  static constexpr DWORD kEntries = 256;

  explicit Palette(const PALETTEENTRY* entries);

  HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY entries) override;

 private:
  std::array<PALETTEENTRY, kEntries> entries_;
};

}  // namespace portable
