// One turn of the game, run by the message loop whenever it is idle.
#pragma once

void FrameTick();
