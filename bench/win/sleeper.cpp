// A console program that prints one line, waits the given milliseconds, prints
// another and ends: a stand-in for a slow `sc` or `net` command.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const DWORD ms = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 2000;
  std::printf("waiting %lu ms\n", static_cast<unsigned long>(ms));
  std::fflush(stdout);
  ::Sleep(ms);
  std::printf("done\n");
  return 0;
}
