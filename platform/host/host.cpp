// The process's one installed host.
#include "host/host.h"

#include <cstdio>
#include <cstdlib>

namespace host {
namespace {
Host* installed = nullptr;
}  // namespace

Host& Current() {
  if (installed == nullptr) {
    // Choosing a backend silently would hide a broken start-up; say so and stop.
    std::fputs("paddleball: no platform host installed\n", stderr);
    std::abort();
  }
  return *installed;
}

void Install(Host* host) { installed = host; }

}  // namespace host
