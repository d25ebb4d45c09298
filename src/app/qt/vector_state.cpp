#include "app/qt/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)

namespace {

const bool hasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

[[gnu::target("avx")]] void ZeroUpper() { __builtin_ia32_vzeroupper(); }

} // namespace

void ClearUpperVectorState() {
    if (hasAvx) ZeroUpper();
}

#else

void ClearUpperVectorState() {}

#endif
