// Module and debugger-output services.
#include "host/host.h"
#include "portable/win32.h"

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  // The program is its only module; other names are not loaded.
  static char module;
  return moduleName == nullptr ? reinterpret_cast<HMODULE>(&module) : nullptr;
}

void OutputDebugStringA(LPCSTR text) {
  if (text != nullptr) host::Current().DebugOutput(text);
}
