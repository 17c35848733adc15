// The one header through which the game reaches its platform: the real SDK on
// Windows, the portable layer everywhere else.
#pragma once

#ifdef _WIN32
#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0500
#endif
#include <ddraw.h>
#include <dinput.h>
#include <mmsystem.h>
#include <windows.h>
#else
#include "portable/ddraw.h"
#include "portable/dinput.h"
#include "portable/gdi.h"
#include "portable/mmsystem.h"
#include "portable/win32.h"
#endif
