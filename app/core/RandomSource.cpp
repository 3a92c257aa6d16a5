#include "RandomSource.h"

#include <chrono>

RandomSource::RandomSource() : m_engine(std::random_device{}()) {}

void RandomSource::stir() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    m_engine.discard(static_cast<unsigned long long>(now % 13) + 1);
}

double RandomSource::next() {
    // 53 random bits give every double in [0, 1) on the grid equal weight.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

int RandomSource::pick(int count) { return static_cast<int>(count * next()) + 1; }
