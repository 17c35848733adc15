// Decoding the arena picture: our decoder, and SDL's reader and conversion to RGB565 (what
// the portable layer used before) as the yardstick.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/bounded_file.h"
#include "portable/bitmap_file.h"

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Read once: the benchmarks time decoding, not the disk.
const std::vector<std::uint8_t>& ArenaFile() {
  static const std::vector<std::uint8_t> file = [] {
    std::string reason;
    return host::ReadBoundedFile("images/arena2.bmp", portable::kMaxBitmapFileBytes, reason)
        .value_or(std::vector<std::uint8_t>{});
  }();
  return file;
}

void BM_DecodeArena(benchmark::State& state) {
  for (auto _ : state) {
    std::optional<portable::PixelBuffer> pixels = portable::DecodeBitmap(ArenaFile());
    if (!pixels) {
      state.SkipWithError("images/arena2.bmp does not decode");
      return;
    }
    benchmark::DoNotOptimize(pixels->pixels.data());
  }
}
BENCHMARK(BM_DecodeArena);

void BM_SdlDecodeArena(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = ArenaFile();
  for (auto _ : state) {
    SurfacePtr loaded(
        SDL_LoadBMP_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1),
        SDL_FreeSurface);
    SurfacePtr pixels(
        loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB565, 0) : nullptr,
        SDL_FreeSurface);
    if (!pixels) {
      state.SkipWithError("SDL cannot decode images/arena2.bmp");
      return;
    }
    benchmark::DoNotOptimize(pixels->pixels);
  }
}
BENCHMARK(BM_SdlDecodeArena);

}  // namespace
