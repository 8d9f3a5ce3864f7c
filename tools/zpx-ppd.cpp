// zpx-ppd: command-line access to the option model of a PPD file.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argv;
  if (argc < 2) {
    std::fprintf(stderr, "usage: zpx-ppd scan FILE\n");
    return 2;
  }
  return 2;
}
