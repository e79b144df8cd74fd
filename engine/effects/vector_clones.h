// Marks a hot pixel loop to be built twice on x86-64, for AVX2 and for the base instruction set;
// the loader picks the one the processor runs. Everything the loop calls is inlined into it, so
// that the callees are built for the same instructions.
#pragma once

// clang does not combine target_clones with flatten; its builds (the fuzzers) take the base set.
// ThreadSanitizer's runtime is not ready when the loader picks a clone, so its builds do too.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define CLIPWRIGHT_VECTOR_CLONES __attribute__((target_clones("avx2", "default"), flatten))
#else
#define CLIPWRIGHT_VECTOR_CLONES
#endif
