// What a frame costs: the whole play frame, the arena stretch alone, and two yardsticks
// (a plain copy of the back buffer, and SDL's own scaled blit of the same arena).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_scene.h"
#include "display/display_device.h"
#include "portable/scaled_blit.h"
#include "scene/scene_objects.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kArenaWidth = 800;
constexpr int kArenaHeight = 600;

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// Flipped, as the game does: each buffer of the pair keeps the rows it was last drawn with.
void BM_PlayFrame(benchmark::State& state) {
  for (auto _ : state) {
    ComposePlayFrame();
    primarySurface->Flip(nullptr, DDFLIP_WAIT);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlayFrame);

void BM_BackBufferCopy(benchmark::State& state) {
  const std::size_t bytes = std::size_t{kScreenWidth} * kScreenHeight * sizeof(std::uint16_t);
  std::vector<std::uint8_t> from(bytes, 0x5A);
  std::vector<std::uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_BackBufferCopy);

// Every row copied: a lock leaves no row of the back buffer known to hold the arena.
void BM_ArenaStretch(benchmark::State& state) {
  IDirectDrawSurface* picture = arena->GetSurface();
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof(desc);
  for (auto _ : state) {
    if (backBuffer->Lock(nullptr, &desc, 0, nullptr) == DD_OK) backBuffer->Unlock(nullptr);
    backBuffer->Blt(nullptr, picture, nullptr, DDBLT_WAIT, nullptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ArenaStretch);

// The stretch itself, without the surface's kept copy of the picture at the drawn size.
void BM_ArenaStretchUnkept(benchmark::State& state) {
  portable::PixelBuffer from(kArenaWidth, kArenaHeight);
  for (std::size_t i = 0; i < from.pixels.size(); ++i) {
    from.pixels[i] = static_cast<std::uint16_t>(i * 2654435761u >> 16);
  }
  portable::PixelBuffer to(kScreenWidth, kScreenHeight);
  const RECT whole = {0, 0, kScreenWidth, kScreenHeight};
  const RECT source = {0, 0, kArenaWidth, kArenaHeight};
  for (auto _ : state) {
    portable::ScaledBlit(to, whole, from, source, nullptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ArenaStretchUnkept);

void BM_SdlArenaStretch(benchmark::State& state) {
  SurfacePtr loaded(SDL_LoadBMP("images/arena2.bmp"), SDL_FreeSurface);
  SurfacePtr from(loaded ? SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB565, 0)
                         : SDL_CreateRGBSurfaceWithFormat(0, kArenaWidth, kArenaHeight, 16,
                                                          SDL_PIXELFORMAT_RGB565),
                  SDL_FreeSurface);
  SurfacePtr to(
      SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth, kScreenHeight, 16, SDL_PIXELFORMAT_RGB565),
      SDL_FreeSurface);
  if (!from || !to || from->w != kArenaWidth || from->h != kArenaHeight) {
    state.SkipWithError("cannot make the SDL surfaces");
    return;
  }
  for (auto _ : state) {
    SDL_BlitScaled(from.get(), nullptr, to.get(), nullptr);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SdlArenaStretch);

}  // namespace
