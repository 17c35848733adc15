#include "scene/scene_objects.h"

#include <new>

// Defined in this order in one file so that they are created in this order.
Sprite* arena = new (std::nothrow) Sprite();
Sprite* ball = new (std::nothrow) Sprite();
Sprite* paddle = new (std::nothrow) Sprite();
TextLabel* scoreLabel = new (std::nothrow) TextLabel();
TextLabel* livesLabel = new (std::nothrow) TextLabel();
TextLabel* levelLabel = new (std::nothrow) TextLabel();
TextLabel* titleLabel = new (std::nothrow) TextLabel();
