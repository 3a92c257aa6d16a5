#pragma once

#include <array>
#include <cstdint>

class RandomSource;

namespace draws {

// The order numbers 1 ... count of one round: slot i - 1 holds i while i is undrawn and
// 0 once it was drawn. Holds up to 600 numbers.
class NumberPool {
public:
    static constexpr int capacity = 600;

    // Fills the pool with 1 ... count (count clamped to 1 ... capacity).
    explicit NumberPool(int count = 2);

    int count() const { return m_count; }
    void refill();
    bool isUndrawn(int number) const;
    // Marks the number drawn; numbers outside 1 ... count are ignored.
    void take(int number);
    int undrawnCount() const;
    bool exhausted() const { return undrawnCount() == 0; }

    // Draws an undrawn number uniformly at random: stirs the generator, picks 1 ... count
    // and tries again (stirring anew) while the pick was already drawn, so every undrawn
    // number is equally likely. Does not take it. 0 when the round is exhausted.
    int drawUndrawn(RandomSource& random) const;

private:
    // One slot more than the numbers, as designed; the last one stays unused.
    std::array<int16_t, capacity + 1> m_slots{};
    int m_count;
};

} // namespace draws
