// Checks that the SDK records the game passes by size have the sizes the 32-bit platform expects.
#include "platform/platform.h"

namespace {

constexpr bool kPointersAreFourBytes = sizeof(void*) == 4;

static_assert(!kPointersAreFourBytes || sizeof(DDSURFACEDESC) == 108,
              "DDSURFACEDESC must be 108 bytes in a 32-bit build");
static_assert(!kPointersAreFourBytes || sizeof(DIMOUSESTATE) == 16,
              "DIMOUSESTATE must be 16 bytes in a 32-bit build");
static_assert(!kPointersAreFourBytes || sizeof(BITMAP) == 24,
              "BITMAP must be 24 bytes in a 32-bit build");
static_assert(!kPointersAreFourBytes || sizeof(WNDCLASSEXA) == 48,
              "WNDCLASSEXA must be 48 bytes in a 32-bit build");

// The mouse state's layout does not depend on the pointer size.
static_assert(sizeof(DIMOUSESTATE) == 16, "DIMOUSESTATE must be 16 bytes");

}  // namespace
