// The desktop's current mode: the one the portable layer presents.
#include "portable/emulated_mode.h"

BOOL EnumDisplaySettingsA(LPCSTR /*deviceName*/, DWORD modeNumber, DEVMODEA* mode) {
  if (mode == nullptr || modeNumber != ENUM_CURRENT_SETTINGS) return FALSE;
  mode->dmFields = DM_DISPLAYFREQUENCY;
  mode->dmDisplayFrequency = kEmulatedHertz;
  return TRUE;
}
