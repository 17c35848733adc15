// What handing a play frame to the page costs the browser host: widened to RGBA for the 2D
// canvas, or found as runs of changed 16-bit rows for WebGL. Frames alternate between two
// ball and paddle places, so that every frame changes some rows as play does; with the
// other rows' origins known, as flipped surfaces give them, or with none.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "host/web/canvas_image.h"
#include "host/web/texture_rows.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kBallTop = 300;
constexpr int kBallSide = 88;
constexpr int kPaddleTop = 640;
constexpr int kPaddleHeight = 32;

// The arena's backdrop with a ball and a paddle drawn at `shift` pixels along.
std::vector<std::uint16_t> PlayPicture(int shift) {
  std::vector<std::uint16_t> pixels(std::size_t{kWidth} * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint16_t>(i * 2654435761u >> 16);
  const auto fill = [&pixels](int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x) pixels[std::size_t{kWidth} * y + x] = 0xFFFF;
    }
  };
  fill(300 + shift, kBallTop + shift, kBallSide, kBallSide);
  fill(400 + shift, kPaddleTop, 144, kPaddleHeight);
  return pixels;
}

// Rows the ball or the paddle reach in either picture are of no known origin.
std::vector<std::uint64_t> BackdropOrigins() {
  constexpr int kMostShift = 9;
  std::vector<std::uint64_t> origins(kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const bool ball = y >= kBallTop && y < kBallTop + kMostShift + kBallSide;
    const bool paddle = y >= kPaddleTop && y < kPaddleTop + kPaddleHeight;
    origins[y] = ball || paddle ? 0 : y + 1;
  }
  return origins;
}

template <typename Present>
void HandOver(benchmark::State& state, Present present) {
  const std::vector<std::uint16_t> pictures[] = {PlayPicture(0), PlayPicture(9)};
  const std::vector<std::uint64_t> origins = BackdropOrigins();
  const std::uint64_t* known = state.range(0) != 0 ? origins.data() : nullptr;
  int turn = 0;
  for (auto _ : state) {
    present(host::Frame{pictures[turn].data(), kWidth, kHeight, kWidth * 2, known});
    turn ^= 1;
    benchmark::ClobberMemory();
  }
}

void BM_CanvasImageUpdate(benchmark::State& state) {
  host::CanvasImage image;
  HandOver(state, [&image](const host::Frame& frame) {
    const host::ChangedRect changed = image.Update(frame);
    benchmark::DoNotOptimize(image.Pixels(changed));
  });
}
BENCHMARK(BM_CanvasImageUpdate)->ArgName("origins")->Arg(0)->Arg(1);

void BM_TextureRowsTake(benchmark::State& state) {
  host::TextureRows rows;
  HandOver(state, [&rows](const host::Frame& frame) {
    benchmark::DoNotOptimize(rows.Take(frame).size());
  });
}
BENCHMARK(BM_TextureRowsTake)->ArgName("origins")->Arg(0)->Arg(1);

}  // namespace
