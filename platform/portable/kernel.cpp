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

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return FALSE;
  count->QuadPart = host::Current().NowMicros();
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  constexpr std::int64_t kMicrosPerSecond = 1'000'000;
  if (frequency == nullptr) return FALSE;
  frequency->QuadPart = kMicrosPerSecond;
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  constexpr std::int64_t kMicrosPerMilli = 1000;
  host::Current().SleepMicros(static_cast<std::int64_t>(milliseconds) * kMicrosPerMilli);
}
