#include "portable/rle_bits.h"

#include <algorithm>

namespace portable {
namespace {

constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

// Writes the decoded indices; every write is checked against the picture's bounds, so
// hostile runs and deltas can only be cut, never overflow.
class Canvas {
 public:
  Canvas(std::int64_t width, std::int64_t rows)
      : width_(width),
        rows_(rows),
        stride_((width + 3) & ~std::int64_t{3}),
        bits_(static_cast<std::size_t>(stride_ * rows), 0) {}

  bool Done() const { return y_ >= rows_; }
  void NextLine() { x_ = 0, ++y_; }
  void Move(int dx, int dy) { x_ += dx, y_ += dy; }
  // Writes `count` pixels whose index `indexAt(i)` gives; only those inside the row land.
  template <typename IndexAt>
  void Put(int count, IndexAt indexAt) {
    if (!Done()) {
      const std::int64_t inside = std::clamp<std::int64_t>(width_ - x_, 0, count);
      std::uint8_t* row = bits_.data() + y_ * stride_;
      for (std::int64_t i = 0; i < inside; ++i) row[x_ + i] = indexAt(static_cast<int>(i));
    }
    x_ += count;
  }
  std::vector<std::uint8_t> Take() { return std::move(bits_); }

 private:
  std::int64_t width_, rows_, stride_;
  std::int64_t x_ = 0, y_ = 0;
  std::vector<std::uint8_t> bits_;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ExpandRunLengths(const std::vector<std::uint8_t>& file,
                                                          const BitmapLayout& layout) {
  const bool fourBit = layout.compression == BitmapCompression::kRle4;
  if (!fourBit && layout.compression != BitmapCompression::kRle8) return std::nullopt;
  Canvas canvas(layout.width, layout.Rows());
  // Index i of a run or literal: RLE4 alternates the two nibbles of its byte.
  const auto nibble = [](std::uint8_t byte, int i) -> std::uint8_t {
    return (i & 1) != 0 ? byte & 0x0F : byte >> 4;
  };
  std::size_t at = layout.pixelOffset;
  while (at + 2 <= file.size() && !canvas.Done()) {
    const std::uint8_t count = file[at];
    const std::uint8_t value = file[at + 1];
    at += 2;
    if (count != kEscape) {
      canvas.Put(count, [&](int i) { return fourBit ? nibble(value, i) : value; });
    } else if (value == kEndOfLine) {
      canvas.NextLine();
    } else if (value == kEndOfBitmap) {
      break;
    } else if (value == kDelta) {
      if (at + 2 > file.size()) break;
      canvas.Move(file[at], file[at + 1]);
      at += 2;
    } else {
      // A literal run: `value` pixels, its bytes padded to a 16-bit boundary.
      const std::size_t bytes = fourBit ? (value + 1u) / 2 : value;
      if (at + bytes > file.size()) break;
      const std::uint8_t* literal = file.data() + at;
      canvas.Put(value, [&](int i) { return fourBit ? nibble(literal[i / 2], i) : literal[i]; });
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
  return canvas.Take();
}

}  // namespace portable
