// The whole screen of a virtual display as RGB bytes, and the pixel counts the tests look at.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desktop_test {

struct Area {
  int left, top, right, bottom;  // right and bottom excluded
};

class Screenshot {
 public:
  // Nothing when the capture tool failed or gave a picture of another size.
  static std::optional<Screenshot> Capture(const std::string& display, const std::string& scratch,
                                           int width, int height);

  int CountWhite(const Area& area) const;
  // Pixels that are neither black nor white: the drawn pictures, not the text.
  int CountColoured(const Area& area) const;
  // The rightmost column in the rows of `area` where the two screens differ; -1 if none.
  int RightmostDifference(const Screenshot& other, const Area& area) const;

 private:
  const std::uint8_t* At(int x, int y) const { return &rgb_[(y * width_ + x) * 3]; }
  std::vector<std::uint8_t> rgb_;
  int width_ = 0;
};

}  // namespace desktop_test
