// Portable stand-ins for the DirectInput 5 mouse interfaces and records the game uses.
#pragma once

#include "win32.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0500
#endif

struct DIMOUSESTATE {
  LONG lX;
  LONG lY;
  LONG lZ;
  BYTE rgbButtons[4];
};

struct DIDATAFORMAT {
  DWORD dwSize;
  DWORD dwObjSize;
  DWORD dwFlags;
  DWORD dwDataSize;
  DWORD dwNumObjs;
  const void* rgodf;
};
using LPCDIDATAFORMAT = const DIDATAFORMAT*;

extern const DIDATAFORMAT c_dfDIMouse;
extern const GUID GUID_SysMouse;

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DIERR_GENERIC = E_FAIL;
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);

constexpr DWORD DISCL_EXCLUSIVE = 0x00000001;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x00000002;
constexpr DWORD DISCL_FOREGROUND = 0x00000004;
constexpr DWORD DISCL_BACKGROUND = 0x00000008;

class IDirectInputDevice {
 public:
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetDataFormat(LPCDIDATAFORMAT format) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;

 protected:
  ~IDirectInputDevice() = default;
};
using LPDIRECTINPUTDEVICE = IDirectInputDevice*;

class IDirectInput {
 public:
  virtual HRESULT CreateDevice(REFGUID device, LPDIRECTINPUTDEVICE* created, IUnknown* outer) = 0;

 protected:
  ~IDirectInput() = default;
};
using LPDIRECTINPUT = IDirectInput*;

HRESULT DirectInputCreateA(HINSTANCE instance, DWORD version, LPDIRECTINPUT* directInput,
                           IUnknown* outer);
