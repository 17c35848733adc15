#include "portable/palette.h"

#include <algorithm>

namespace portable {

Palette::Palette(const PALETTEENTRY* entries) {
  std::copy(entries, entries + kEntries, entries_.begin());
}

HRESULT Palette::GetEntries(DWORD /*flags*/, DWORD base, DWORD count, LPPALETTEENTRY entries) {
  if (entries == nullptr || base >= kEntries || count > kEntries - base) {
    return DDERR_INVALIDPARAMS;
  }
  std::copy(entries_.begin() + base, entries_.begin() + base + count, entries);
  return DD_OK;
}

}  // namespace portable
