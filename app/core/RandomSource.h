#pragma once

#include <cstdint>
#include <random>

// The draws' random generator: uniform over [0, 1), stirred by the clock before draws.
// Stirring advances the one running sequence by a clock-dependent number of steps; it
// never reseeds, so many draws within one clock tick still differ and the sequence
// keeps its uniformity.
class RandomSource {
public:
    RandomSource();
    explicit RandomSource(uint64_t seed) : m_engine(seed) {}

    void stir();
    double next();
    // Integer part of count * next() + 1: a number 1 ... count.
    int pick(int count);

private:
    std::mt19937_64 m_engine;
};
