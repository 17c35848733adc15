// paddleball-bench: frame composition and blit speed, with the ratios that matter.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_scene.h"
#include "ratio_reporter.h"

namespace {

double Ratio(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  host::HeadlessHost headless;
  if (!SetUpBenchScene(headless, PADDLEBALL_SOURCE_DIR)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double frame = reporter.Nanoseconds("BM_PlayFrame");
  const double copy = reporter.Nanoseconds("BM_BackBufferCopy");
  const double ours = reporter.Nanoseconds("BM_ArenaStretch");
  const double unkept = reporter.Nanoseconds("BM_ArenaStretchUnkept");
  const double sdl = reporter.Nanoseconds("BM_SdlArenaStretch");
  std::printf(
      "CPU time per iteration: play frame %.0f ns, back-buffer copy %.0f ns, "
      "our stretch %.0f ns, SDL stretch %.0f ns\n",
      frame, copy, ours, sdl);
  std::printf("play frame / back-buffer copy: %.2f\n", Ratio(frame, copy));
  std::printf("SDL stretch / our stretch: %.2f (goal: at least 3)\n", Ratio(sdl, ours));
  std::printf("SDL stretch / our stretch without the kept scaled copy: %.2f\n", Ratio(sdl, unkept));
  std::printf("arena decode: ours %.0f ns, SDL's %.0f ns\n", reporter.Nanoseconds("BM_DecodeArena"),
              reporter.Nanoseconds("BM_SdlDecodeArena"));
  benchmark::Shutdown();
  return 0;
}
