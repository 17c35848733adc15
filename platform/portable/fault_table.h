// The platform calls whose failure the game examines, and the tests' way of failing them.
#pragma once

namespace portable {

enum class Call {
  kRegisterClass,
  kCreateWindow,
  kDirectDrawCreate,
  kSetCooperativeLevel,
  kSetDisplayMode,
  kCreatePrimarySurface,
  kGetAttachedSurface,
  kCreateSurface,
  kFlip,
  kGetDC,
  kLock,
  kDirectInputCreate,
  kCreateDevice,
  kSetInputCooperativeLevel,
  kSetDataFormat,
  kAcquire,
  kCount,
};

// False when this call must fail, as the real platform's call sometimes does.
bool Allowed(Call call);

// The next `times` calls of `call` fail; kForever fails them all, 0 none.
constexpr int kForever = -1;
void FailNext(Call call, int times = 1);
// Every call succeeds again.
void ClearFaults();

}  // namespace portable
