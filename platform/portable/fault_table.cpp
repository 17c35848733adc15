#include "portable/fault_table.h"

#include <array>

namespace portable {
namespace {
std::array<int, static_cast<int>(Call::kCount)> pending{};
}  // namespace

bool Allowed(Call call) {
  int& failures = pending[static_cast<int>(call)];
  if (failures == 0) return true;
  if (failures > 0) --failures;
  return false;
}

void FailNext(Call call, int times) { pending[static_cast<int>(call)] = times; }

void ClearFaults() { pending.fill(0); }

}  // namespace portable
