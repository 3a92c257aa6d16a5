#pragma once

#include "ListLayout.h"

#include <QString>

#include <vector>

class RandomSource;

namespace namelists {

struct PersonEntry {
    QString listNumber;
    QString personName;
    bool available = false;
};

// The people of one round, person k at index k (1-based), at most 600 of them. Every
// lookup is bounds-checked: a count that does not match the table never reads past it.
class PersonTable {
public:
    PersonTable();

    // Forgets everybody; nobody is available and nobody is listed.
    void clear();
    // Persons 1 ... count have been read; picks never go beyond them.
    void setListed(int count);
    int listed() const { return m_listed; }
    // Person k, or nullptr outside 1 ... 600.
    PersonEntry* at(int k);
    const PersonEntry* at(int k) const;

    // True when one of persons first ... last is still to be drawn.
    bool anyAvailable(int first, int last) const;

    // A random person 1 ... count (at most those listed) who has not been drawn yet, each equally likely; 0 when
    // there is none (so the caller never waits for a draw that cannot come).
    int randomPick(RandomSource& random, int count) const;
    // Any listed person 1 ... count for the rolling display, drawn or not; 0 when
    // nobody is listed.
    int rollingPick(RandomSource& random, int count) const;

private:
    int clampCount(int count) const;
    std::vector<PersonEntry> m_people; // index 0 unused
    int m_listed = 0;
};

} // namespace namelists
