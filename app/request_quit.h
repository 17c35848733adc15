// Asks the message loop to end the program with exit code 0.
#pragma once

void RequestQuit();
