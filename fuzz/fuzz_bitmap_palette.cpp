// Fuzzes the palette loader's reading of a bitmap file: headers, counts and colour table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "display/palette_utils.h"
#include "fuzz_input_file.h"
#include "host/headless/headless_host.h"

namespace {

constexpr int kPaletteSize = 256;

// Keeps the entries it is given instead of making an object that is never released.
class RecordingPalette final : public IDirectDrawPalette {
 public:
  HRESULT GetEntries(DWORD, DWORD base, DWORD count, LPPALETTEENTRY out) override {
    if (base > kPaletteSize || count > kPaletteSize - base) return DDERR_INVALIDPARAMS;
    std::memcpy(out, entries + base, count * sizeof(PALETTEENTRY));
    return DD_OK;
  }
  PALETTEENTRY entries[kPaletteSize] = {};
};

class RecordingDirectDraw final : public IDirectDraw {
 public:
  HRESULT SetCooperativeLevel(HWND, DWORD) override { return DD_OK; }
  HRESULT SetDisplayMode(DWORD, DWORD, DWORD) override { return DD_OK; }
  HRESULT CreateSurface(LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*) override {
    return DDERR_UNSUPPORTED;
  }
  HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* made,
                        IUnknown*) override {
    if (flags != DDPCAPS_8BIT) std::abort();
    std::memcpy(palette.entries, entries, sizeof(palette.entries));
    *made = &palette;
    return DD_OK;
  }
  HRESULT WaitForVerticalBlank(DWORD, HANDLE) override { return DD_OK; }
  HRESULT GetMonitorFrequency(DWORD*) override { return DDERR_UNSUPPORTED; }
  RecordingPalette palette;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static host::HeadlessHost headless;
  static RecordingDirectDraw directDraw;
  host::Install(&headless);
  if (!WriteFuzzInput(data, size)) return 0;
  if (LoadBitmapPalette(&directDraw, FuzzInputPath().c_str()) != &directDraw.palette) {
    std::abort();
  }
  return 0;
}
