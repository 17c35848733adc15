// The ball: a shaded sphere filling its 88 x 104 box, black (transparent) around it.
#pragma once

#include "indexed_image.h"

IndexedImage DrawBall();
