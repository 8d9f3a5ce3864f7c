#pragma once
// A property that must hold for every input a fuzz target accepts. A broken one
// aborts, which both the fuzzer and the replay program report as a crash with
// the input that caused it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(expr)                                                                 \
  do {                                                                                   \
    if (!(expr)) {                                                                       \
      std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #expr); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
