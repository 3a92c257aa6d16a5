#include "NumberPool.h"

#include "core/RandomSource.h"

#include <algorithm>

namespace draws {

NumberPool::NumberPool(int count) : m_count(std::clamp(count, 1, capacity)) { refill(); }

void NumberPool::refill() {
    m_slots.fill(0);
    for (int i = 1; i <= m_count; ++i)
        m_slots[i - 1] = static_cast<int16_t>(i);
}

bool NumberPool::isUndrawn(int number) const {
    return number >= 1 && number <= m_count && m_slots[number - 1] != 0;
}

void NumberPool::take(int number) {
    if (number >= 1 && number <= m_count)
        m_slots[number - 1] = 0;
}

int NumberPool::undrawnCount() const {
    return static_cast<int>(std::count_if(m_slots.begin(), m_slots.begin() + m_count, [](int16_t s) { return s != 0; }));
}

int NumberPool::drawUndrawn(RandomSource& random) const {
    // Without this the loop below would never end.
    if (exhausted())
        return 0;
    random.stir();
    for (;;) {
        const int n = random.pick(m_count);
        if (isUndrawn(n))
            return n;
        random.stir();
    }
}

} // namespace draws
