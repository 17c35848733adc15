// Puts the ball, the paddle and the labels in their starting places for a new ball.
#pragma once

void ServeBall();
