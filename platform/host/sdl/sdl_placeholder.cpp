// TEMPORARY: the SDL host's entry until it lands.
#include <cstdio>

int main() {
  std::fputs("paddleball: the desktop host is not built yet\n", stderr);
  return 1;
}
