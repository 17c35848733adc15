// Writes presented frames as PNG files named by tick, e.g. DIR/tick-000041.png.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FrameFiles {
 public:
  // An empty directory writes nothing; an empty tick list means every tick.
  FrameFiles(std::string directory, std::vector<long> ticks);

  bool enabled() const { return !directory_.empty(); }
  bool Wants(long tick) const;
  // Creates the directory; false, with `error` set, when it cannot be made.
  bool Prepare(std::string& error) const;
  // Saves an RGB565 frame for the tick: written beside its name, then renamed into place, so a
  // cut-off file never carries a tick's name. False, with `error` naming the file and the
  // reason, on any failed write, or when something other than a regular file holds the name.
  bool Write(long tick, const std::vector<std::uint16_t>& pixels, int width, int height,
             std::string& error) const;

  std::string PathFor(long tick) const;

 private:
  std::string directory_;
  std::vector<long> ticks_;
};
