#include "portable/scaled_blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace portable {
namespace {

// Larger extents cannot come from a real surface; refusing them keeps the arithmetic exact.
constexpr std::int64_t kMaxExtent = std::int64_t{1} << 24;

// One axis of the mapping: target positions [first, last) and, for each, its source index.
struct Axis {
  std::int64_t first = 0;
  std::int64_t last = 0;
  bool identity = false;  // target and source extents equal: source = target + offset
};

// Source index sampled by target offset `i`: the source pixel under the target pixel's centre.
std::int64_t SourceIndex(std::int64_t i, std::int64_t sourceStart, std::int64_t sourceExtent,
                         std::int64_t targetExtent) {
  return sourceStart + ((2 * i + 1) * sourceExtent) / (2 * targetExtent);
}

// Clips one axis to the target and trims the ends whose samples fall outside the source.
// The mapping is monotonic, so the valid target positions are one contiguous run.
bool ClipAxis(std::int64_t toStart, std::int64_t toEnd, int targetSize, std::int64_t fromStart,
              std::int64_t fromEnd, int sourceSize, Axis& axis) {
  const std::int64_t toExtent = toEnd - toStart;
  const std::int64_t fromExtent = fromEnd - fromStart;
  if (toExtent <= 0 || fromExtent <= 0 || toExtent > kMaxExtent || fromExtent > kMaxExtent) {
    return false;
  }
  axis.first = std::max<std::int64_t>(toStart, 0);
  axis.last = std::min<std::int64_t>(toEnd, targetSize);
  auto sample = [&](std::int64_t t) {
    return SourceIndex(t - toStart, fromStart, fromExtent, toExtent);
  };
  while (axis.first < axis.last && sample(axis.first) < 0) ++axis.first;
  while (axis.first < axis.last && sample(axis.last - 1) >= sourceSize) --axis.last;
  axis.identity = toExtent == fromExtent;
  return axis.first < axis.last;
}

// Copies a block too large to stay in cache with stores that bypass it: the block is the
// whole frame's background, and reading the old target lines first would only cost time.
void CopyBlock(std::uint16_t* out, const std::uint16_t* in, std::size_t count) {
  constexpr std::size_t kStreamingBytes = 256 * 1024;
  const std::size_t bytes = count * sizeof(*out);
#ifdef __SSE2__
  constexpr std::size_t kVector = sizeof(__m128i);
  const auto address = reinterpret_cast<std::uintptr_t>(out);
  const bool overlap = out < in + count && in < out + count;
  if (bytes >= kStreamingBytes && !overlap && address % sizeof(*out) == 0) {
    const std::size_t head = ((kVector - address % kVector) % kVector) / sizeof(*out);
    std::memcpy(out, in, head * sizeof(*out));
    auto* to = reinterpret_cast<__m128i*>(out + head);
    auto* from = reinterpret_cast<const __m128i*>(in + head);
    const std::size_t vectors = (bytes - head * sizeof(*out)) / kVector;
    for (std::size_t i = 0; i < vectors; ++i) _mm_stream_si128(to + i, _mm_loadu_si128(from + i));
    _mm_sfence();
    const std::size_t done = head + vectors * kVector / sizeof(*out);
    std::memcpy(out + done, in + done, (count - done) * sizeof(*out));
    return;
  }
#endif
  std::memmove(out, in, bytes);
}

void CopyRowKeyed(std::uint16_t* out, const std::uint16_t* in, std::int64_t count,
                  std::uint16_t key) {
  for (std::int64_t i = 0; i < count; ++i) {
    if (in[i] != key) out[i] = in[i];
  }
}

void ScaleRow(std::uint16_t* out, const std::uint16_t* in, const std::int32_t* columns,
              std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i) out[i] = in[columns[i]];
}

void ScaleRowKeyed(std::uint16_t* out, const std::uint16_t* in, const std::int32_t* columns,
                   std::int64_t count, std::uint16_t key) {
  for (std::int64_t i = 0; i < count; ++i) {
    const std::uint16_t pixel = in[columns[i]];
    if (pixel != key) out[i] = pixel;
  }
}

}  // namespace

void ScaledBlit(PixelBuffer& target, const RECT& to, const PixelBuffer& source, const RECT& from,
                const std::uint16_t* key) {
  Axis xs;
  Axis ys;
  if (!ClipAxis(to.left, to.right, target.width, from.left, from.right, source.width, xs) ||
      !ClipAxis(to.top, to.bottom, target.height, from.top, from.bottom, source.height, ys)) {
    return;
  }
  const std::int64_t toWidth = std::int64_t{to.right} - to.left;
  const std::int64_t fromWidth = std::int64_t{from.right} - from.left;
  const std::int64_t toHeight = std::int64_t{to.bottom} - to.top;
  const std::int64_t fromHeight = std::int64_t{from.bottom} - from.top;
  const std::int64_t count = xs.last - xs.first;

  // Source columns relative to the first one sampled, reused across calls.
  thread_local std::vector<std::int32_t> columns;
  const std::int64_t firstColumn = SourceIndex(xs.first - to.left, from.left, fromWidth, toWidth);
  if (!xs.identity) {
    columns.resize(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
      columns[i] = static_cast<std::int32_t>(
          SourceIndex(xs.first + i - to.left, from.left, fromWidth, toWidth) - firstColumn);
    }
  }

  // Whole rows copied unchanged from one block to another: one copy for all of them.
  const bool wholeRows = xs.identity && ys.identity && key == nullptr && count == target.width &&
                         count == source.width;
  if (wholeRows) {
    const std::int64_t firstRow = SourceIndex(ys.first - to.top, from.top, fromHeight, toHeight);
    CopyBlock(target.Row(static_cast<int>(ys.first)), source.Row(static_cast<int>(firstRow)),
              static_cast<std::size_t>((ys.last - ys.first) * count));
    return;
  }

  std::int64_t previousSourceRow = -1;
  std::uint16_t* previousOut = nullptr;
  for (std::int64_t y = ys.first; y < ys.last; ++y) {
    const std::int64_t sourceRow = SourceIndex(y - to.top, from.top, fromHeight, toHeight);
    std::uint16_t* out = target.Row(static_cast<int>(y)) + xs.first;
    const std::uint16_t* in = source.Row(static_cast<int>(sourceRow)) + firstColumn;
    if (key == nullptr && sourceRow == previousSourceRow) {
      // Stretched rows repeat: copy the row just made instead of sampling again.
      std::memcpy(out, previousOut, static_cast<std::size_t>(count) * sizeof(*out));
    } else if (xs.identity) {
      if (key == nullptr) {
        // A surface blitted onto itself may overlap.
        std::memmove(out, in, static_cast<std::size_t>(count) * sizeof(*out));
      } else {
        CopyRowKeyed(out, in, count, *key);
      }
    } else if (key == nullptr) {
      ScaleRow(out, in, columns.data(), count);
    } else {
      ScaleRowKeyed(out, in, columns.data(), count, *key);
    }
    previousSourceRow = sourceRow;
    previousOut = out;
  }
}

}  // namespace portable
