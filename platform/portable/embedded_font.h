// The text font, built into the program so that no font file is needed at run time.
#pragma once

#include <cstddef>

extern const unsigned char kEmbeddedFont[];
extern const std::size_t kEmbeddedFontSize;
