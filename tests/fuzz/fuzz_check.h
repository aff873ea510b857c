#pragma once
// A property a harness checks on every input: when it does not hold, the input is a finding.
// libFuzzer keeps an input that aborts as a crash file.
#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                             \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
