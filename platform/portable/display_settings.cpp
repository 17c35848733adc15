// The desktop's current mode: the one the portable layer presents.
#include "host/emulated_mode.h"
#include "portable/win32.h"

BOOL EnumDisplaySettingsA(LPCSTR /*deviceName*/, DWORD modeNumber, DEVMODEA* mode) {
  if (mode == nullptr || modeNumber != ENUM_CURRENT_SETTINGS) return FALSE;
  mode->dmFields = DM_DISPLAYFREQUENCY;
  mode->dmDisplayFrequency = host::kEmulatedHertz;
  return TRUE;
}
