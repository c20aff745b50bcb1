#pragma once

// Qt's painting and scaling run AVX code that leaves the upper halves of the vector registers in
// use; on some x86 processors the SSE code of zlib and libpng that follows then runs at half
// speed (measured: deflating a cell takes 1.1 ms instead of 0.55) until they are cleared.

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("avx"))) inline void ClearVectorUpperHalvesAvx()
{
    __builtin_ia32_vzeroupper();
}

/// Clears the upper halves of the vector registers where the processor has them; call it before
/// compressing or decoding after painting.
inline void ClearVectorUpperHalves()
{
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        ClearVectorUpperHalvesAvx();
}
#else
inline void ClearVectorUpperHalves() {}
#endif
