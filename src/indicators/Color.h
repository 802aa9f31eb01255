#pragma once

#include <cstdint>

namespace cotalys {

// A plain 24-bit colour: red in the low byte, then green, then blue; no toolkit type, so the
// analysis layers stay free of the drawing library.
using TColor = std::uint32_t;

constexpr TColor ColorFromRGB(int ARed, int AGreen, int ABlue) {
    return static_cast<TColor>((ARed & 0xFF) | ((AGreen & 0xFF) << 8) | ((ABlue & 0xFF) << 16));
}
constexpr int RedOf(TColor AColor) {
    return static_cast<int>(AColor & 0xFF);
}
constexpr int GreenOf(TColor AColor) {
    return static_cast<int>((AColor >> 8) & 0xFF);
}
constexpr int BlueOf(TColor AColor) {
    return static_cast<int>((AColor >> 16) & 0xFF);
}

// AWeight of A and 1 - AWeight of B per channel (AWeight clamped to 0..1, a NaN weight counts
// as 0), each channel rounded to the nearest integer with halves to even.
TColor BlendColors(TColor A, TColor B, double AWeight);

}  // namespace cotalys
