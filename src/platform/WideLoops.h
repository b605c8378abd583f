// Loops over whole rows written for the compiler to run on wide registers: on x86-64 a second copy of a
// function marked TALLIO_WIDE is made for AVX2 and picked at start where the processor has it.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define TALLIO_WIDE __attribute__((target_clones("avx2", "default")))
#else
#define TALLIO_WIDE
#endif
