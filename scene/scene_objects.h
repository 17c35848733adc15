// The seven scene objects: created before the entry function, alive until the process ends.
#pragma once

#include "scene/sprite.h"
#include "scene/text_label.h"

extern Sprite* arena;
extern Sprite* ball;
extern Sprite* paddle;
extern TextLabel* scoreLabel;
extern TextLabel* livesLabel;
extern TextLabel* levelLabel;
extern TextLabel* titleLabel;
