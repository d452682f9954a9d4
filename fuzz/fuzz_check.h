#pragma once
#include <cstdio>
#include <cstdlib>

// An invariant the fuzzer must never see broken: report it and abort, so libFuzzer
// keeps the input that did it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
