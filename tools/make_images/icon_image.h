// The desktop icon: the game's ball above its paddle on a dark rounded tile, at any size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct IconImage {
  int size = 0;
  std::vector<std::uint8_t> rgba;  // size x size pixels, 4 bytes each, top row first
};

// A maskable icon fills its square, the pictures inside the circle a platform's mask keeps.
IconImage DrawIcon(int size, bool maskable = false);

// False, with `error` set, when the PNG file cannot be written.
bool SavePng(const IconImage& icon, const std::string& path, std::string& error);
