#include "PersonTable.h"

#include "core/RandomSource.h"

#include <algorithm>

namespace namelists {

PersonTable::PersonTable() : m_people(kCapacity + 1) {}

void PersonTable::clear() {
    std::fill(m_people.begin(), m_people.end(), PersonEntry{});
    m_listed = 0;
}

void PersonTable::setListed(int count) { m_listed = std::clamp(count, 0, kCapacity); }

PersonEntry* PersonTable::at(int k) { return k >= 1 && k <= kCapacity ? &m_people[size_t(k)] : nullptr; }

const PersonEntry* PersonTable::at(int k) const {
    return k >= 1 && k <= kCapacity ? &m_people[size_t(k)] : nullptr;
}

int PersonTable::clampCount(int count) const { return std::clamp(count, 0, m_listed); }

bool PersonTable::anyAvailable(int first, int last) const {
    first = std::max(first, 1);
    last = std::clamp(last, 0, kCapacity);
    for (int k = first; k <= last; ++k)
        if (m_people[size_t(k)].available)
            return true;
    return false;
}

int PersonTable::randomPick(RandomSource& random, int count) const {
    count = clampCount(count);
    if (!anyAvailable(1, count))
        return 0;
    // Stirred and tried again until an undrawn person comes up. With few left this can
    // take many tries; past a bound the pick is made among the undrawn directly, which
    // keeps every undrawn person equally likely.
    for (int attempt = 0; attempt < 20 * kCapacity; ++attempt) {
        random.stir();
        const int k = std::min(random.pick(count), count);
        if (m_people[size_t(k)].available)
            return k;
    }
    std::vector<int> left;
    for (int k = 1; k <= count; ++k)
        if (m_people[size_t(k)].available)
            left.push_back(k);
    random.stir();
    return left[size_t(std::min(random.pick(int(left.size())), int(left.size())) - 1)];
}

int PersonTable::rollingPick(RandomSource& random, int count) const {
    count = clampCount(count);
    if (count < 1)
        return 0;
    random.stir();
    return std::min(random.pick(count), count);
}

} // namespace namelists
