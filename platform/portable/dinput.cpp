// The system mouse as a polled DirectInput device over the host's relative mouse.
#include <cstring>
#include <memory>
#include <vector>

#include "host/host.h"
#include "portable/dinput.h"
#include "portable/fault_table.h"

const DIDATAFORMAT c_dfDIMouse = {24, 16, 0x2, sizeof(DIMOUSESTATE), 7, nullptr};
const GUID GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

HRESULT Result(portable::Call call) { return portable::Allowed(call) ? DI_OK : DIERR_GENERIC; }

class Mouse final : public IDirectInputDevice {
 public:
  HRESULT SetCooperativeLevel(HWND /*window*/, DWORD flags) override {
    // Exclusive and non-exclusive, foreground and background: exactly one of each pair.
    const bool oneAccess = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
    const bool oneScope = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
    if (!oneAccess || !oneScope) return DIERR_INVALIDPARAM;
    return Result(portable::Call::kSetInputCooperativeLevel);
  }
  HRESULT SetDataFormat(LPCDIDATAFORMAT format) override {
    if (format != &c_dfDIMouse) return DIERR_INVALIDPARAM;
    const HRESULT result = Result(portable::Call::kSetDataFormat);
    formatSet_ = result == DI_OK;
    return result;
  }
  HRESULT Acquire() override {
    if (!formatSet_) return DIERR_INVALIDPARAM;
    const HRESULT result = Result(portable::Call::kAcquire);
    if (result == DI_OK) acquired_ = true;
    return result;
  }
  HRESULT GetDeviceState(DWORD size, LPVOID data) override {
    if (size != sizeof(DIMOUSESTATE) || data == nullptr) return DIERR_INVALIDPARAM;
    if (!acquired_) return DIERR_NOTACQUIRED;
    const host::MouseState taken = host::Current().TakeMouse();
    DIMOUSESTATE state = {taken.dx, taken.dy, taken.wheel, {}};
    std::memcpy(state.rgbButtons, taken.buttons, sizeof(state.rgbButtons));
    std::memcpy(data, &state, sizeof(state));
    return DI_OK;
  }

 private:
  bool formatSet_ = false;
  bool acquired_ = false;
};

// Objects are never released by their users; the process owns them until it ends.
template <typename T>
T* KeepForTheProcess() {
  static std::vector<std::unique_ptr<T>> kept;
  kept.push_back(std::make_unique<T>());
  return kept.back().get();
}

class DirectInput final : public IDirectInput {
 public:
  HRESULT CreateDevice(REFGUID device, LPDIRECTINPUTDEVICE* created, IUnknown* /*outer*/) override {
    if (created == nullptr) return DIERR_INVALIDPARAM;
    *created = nullptr;
    if (std::memcmp(&device, &GUID_SysMouse, sizeof(GUID)) != 0) return DIERR_DEVICENOTREG;
    const HRESULT result = Result(portable::Call::kCreateDevice);
    if (result == DI_OK) *created = KeepForTheProcess<Mouse>();
    return result;
  }
};

}  // namespace

HRESULT DirectInputCreateA(HINSTANCE /*instance*/, DWORD version, LPDIRECTINPUT* directInput,
                           IUnknown* /*outer*/) {
  if (directInput == nullptr) return DIERR_INVALIDPARAM;
  *directInput = nullptr;
  if (version < 0x0300) return DIERR_INVALIDPARAM;
  const HRESULT result = Result(portable::Call::kDirectInputCreate);
  if (result == DI_OK) *directInput = KeepForTheProcess<DirectInput>();
  return result;
}
