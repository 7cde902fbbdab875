#pragma once

#include <cstdio>
#include <cstdlib>

namespace quillon::fuzz {

// An invariant that held for every input so far broke: say which one, then stop the process
// so the fuzzer keeps the input that did it.
[[noreturn]] inline void invariantBroken(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

} // namespace quillon::fuzz

#define QUILLON_FUZZ_CHECK(condition, what)                                                        \
  do {                                                                                             \
    if (!(condition))                                                                              \
      ::quillon::fuzz::invariantBroken(__FILE__, __LINE__, what);                                  \
  } while (false)
