// The system mouse, polled through DirectInput as relative movement and button bytes.
#pragma once

#include "platform/platform.h"

extern IDirectInput* directInput;
extern IDirectInputDevice* mouseDevice;
extern DIMOUSESTATE mouseState;  // the latest read: lX is movement since the read before

// Opens and acquires the mouse; each failing step is reported and start-up goes on.
void InitInput();
// Fills mouseState from the device; leaves it as it was when there is no device.
void ReadMouse();
