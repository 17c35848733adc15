// An 8-bit palettised picture built from colour ramps, saved as an uncompressed BMP.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  float r = 0, g = 0, b = 0;
};

// A run of palette entries blending from one colour to another.
struct Ramp {
  int first = 0;
  int count = 1;
  Rgb from;
  Rgb to;
};

class IndexedImage {
 public:
  IndexedImage(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Writes the ramp's colours into the palette.
  void AddRamp(const Ramp& ramp);
  // Paints (x, y) with the ramp's colour at t (0 to 1, clamped).
  void Paint(int x, int y, const Ramp& ramp, float t);
  // Leaves (x, y) at index 0, which every image keeps black.
  void Clear(int x, int y);

  std::uint8_t IndexAt(int x, int y) const { return pixels_[Offset(x, y)]; }
  const std::array<std::array<std::uint8_t, 3>, 256>& palette() const { return palette_; }

  // False, with `error` set, when the file cannot be written.
  bool SaveBmp(const std::string& path, std::string& error) const;

 private:
  std::size_t Offset(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
  std::array<std::array<std::uint8_t, 3>, 256> palette_{};
};
