#pragma once

#include <cmath>

// All window arithmetic is done in twips; Qt logical pixels are 15 twips (96 DPI).
namespace twips {
constexpr int perPixel = 15;

inline int toPixels(int t) { return static_cast<int>(std::lround(t / double(perPixel))); }
inline int fromPixels(int px) { return px * perPixel; }
} // namespace twips
