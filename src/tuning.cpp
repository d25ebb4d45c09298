#include "tuning.h"

namespace {

bool ProcessorHasAvx2() {
// GCC does not align the stack for AVX on Win64 (its spills of 32-byte
// vectors there could fault), so Windows takes the loop in pairs.
#if defined(__x86_64__) && !defined(_WIN32)
    // Set as the program starts, maybe before the compiler's own look at the
    // processor: so that look comes first.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
#else
    return false;
#endif
}

} // namespace

Tuning g_tuning{.paintWithAvx2 = ProcessorHasAvx2()};
