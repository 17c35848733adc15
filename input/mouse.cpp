#include "input/mouse.h"

#include "app/report_error.h"
#include "app/window.h"

IDirectInput* directInput = nullptr;
IDirectInputDevice* mouseDevice = nullptr;
DIMOUSESTATE mouseState = {};

namespace {

void Check(HRESULT result, const char* message) {
  if (result != DI_OK) ReportError(message);
}

}  // namespace

void InitInput() {
  if (DirectInputCreateA(windowClass.hInstance, DIRECTINPUT_VERSION, &directInput, nullptr) !=
      DI_OK) {
    directInput = nullptr;
    ReportError("DirectInputCreate Failed!");
  }
  // Without the object or the device the steps that need them cannot be made.
  if (directInput == nullptr) return;
  if (directInput->CreateDevice(GUID_SysMouse, &mouseDevice, nullptr) != DI_OK) {
    mouseDevice = nullptr;
    ReportError("CreateDevice DINPUT Failed!");
  }
  if (mouseDevice == nullptr) return;
  Check(mouseDevice->SetCooperativeLevel(mainWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
        "SetCooperativeLevel DINPUT Failed!");
  Check(mouseDevice->SetDataFormat(&c_dfDIMouse), "SetDataFormat DINPUT Failed!");
  Check(mouseDevice->Acquire(), "Acquire DINPUT Failed!");
}

void ReadMouse() {
  if (mouseDevice == nullptr) return;
  mouseDevice->GetDeviceState(sizeof(mouseState), &mouseState);
}
