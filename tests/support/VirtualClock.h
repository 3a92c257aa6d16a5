#pragma once

#include "core/FormTimer.h"

#include <vector>

// Fires enabled timers in the order a real clock would, in 5 ms steps: a timer enabled
// during a step first fires one full interval later, as a platform timer does.
class VirtualClock {
public:
    void add(FormTimer* timer) { m_timers.push_back({timer}); }
    // One 5 ms step; true when some timer fired.
    bool step() {
        bool fired = false;
        for (Entry& e : m_timers) {
            if (!e.timer->enabled()) {
                e.running = false;
                continue;
            }
            if (!e.running) {
                e.running = true;
                e.elapsed = 0;
                continue;
            }
            e.elapsed += 5;
            if (e.elapsed >= e.timer->interval()) {
                e.elapsed = 0;
                e.timer->tick();
                fired = true;
            }
        }
        return fired;
    }

private:
    struct Entry {
        FormTimer* timer;
        int elapsed = 0;
        bool running = false;
    };
    std::vector<Entry> m_timers;
};
