#pragma once

// Eight doubles computed side by side (GCC and Clang vector extensions): one instruction per
// operation with 512-bit registers, two or four with narrower ones. Helpers take their lanes by
// reference, so no call passes a vector in registers whose layout depends on the instruction set.

namespace cotalys::lanes {

constexpr int Width = 8;

typedef double TLanes __attribute__((vector_size(64)));

// The loops over lanes are compiled three times, for AVX-512, for AVX2 with FMA and for the
// baseline x86-64 instruction set; the loader picks the best one the processor runs. The thread
// sanitizer cannot run the loader's choice, which happens before it starts.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_THREAD__)
#define COTALYS_LANE_CLONES \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define COTALYS_LANE_CLONES
#endif

// Eight doubles from AValues, which need no alignment beyond that of a double (copying the
// bytes is how both compilers are told so; it compiles to one unaligned load).
[[gnu::always_inline]] inline void Load(const double* AValues, TLanes& AInto) {
    __builtin_memcpy(&AInto, AValues, sizeof AInto);
}

// Eight doubles into AInto, aligned as a double.
[[gnu::always_inline]] inline void Store(const TLanes& ALanes, double* AInto) {
    __builtin_memcpy(AInto, &ALanes, sizeof ALanes);
}

// Every lane holds lane 7 of ALanes.
[[gnu::always_inline]] inline void BroadcastLast(const TLanes& ALanes, TLanes& AInto) {
    AInto = __builtin_shufflevector(ALanes, ALanes, 7, 7, 7, 7, 7, 7, 7, 7);
}

// Lane j becomes the sum over m <= j of AFactor^(j - m) x lane m, in three shifted steps instead
// of seven in a chain: the running sums of eight values with AFactor 1, the exponential smoothing
// of eight values from 0 with AFactor 1 - K once each lane holds K x its value.
[[gnu::always_inline]] inline void DecayedPrefixSum(TLanes& ALanes, double AFactor) {
    const TLanes zero = {};
    const double factor2 = AFactor * AFactor;
    ALanes += AFactor * __builtin_shufflevector(ALanes, zero, 8, 0, 1, 2, 3, 4, 5, 6);
    ALanes += factor2 * __builtin_shufflevector(ALanes, zero, 8, 8, 0, 1, 2, 3, 4, 5);
    ALanes += factor2 * factor2 * __builtin_shufflevector(ALanes, zero, 8, 8, 8, 8, 0, 1, 2, 3);
}

}  // namespace cotalys::lanes
