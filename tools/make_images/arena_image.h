// The play field's background: walls left, right and above, open below, dark in between.
#pragma once

#include "indexed_image.h"

// The source column or row that a stretched blit samples for a screen position.
int SourceOf(int screen, int sourceSize, int screenSize);

IndexedImage DrawArena();
