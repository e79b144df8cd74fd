// Marks a hot pixel loop to be built twice on x86-64, for AVX2 and for the base instruction set;
// the loader picks the one the processor runs.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#define CLIPWRIGHT_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define CLIPWRIGHT_VECTOR_CLONES
#endif
