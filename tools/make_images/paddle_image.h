// The paddle: a bevelled bar with rounded ends, black (transparent) in its corners.
#pragma once

#include "indexed_image.h"

IndexedImage DrawPaddle();
