#pragma once

#include <QString>
#include <cstdint>

// The timer's arithmetic, free of any window: validation of the set and reminder times,
// the per-second counter and its hand-over moments.
struct CountdownModel {
    struct Times {
        int16_t setMinutes = 0;
        int16_t setSeconds = 0;
        int16_t reminderMinutes = 0;
        int16_t reminderSeconds = 0;
        int setTotal() const { return setMinutes * 60 + setSeconds; }
        int reminderTotal() const { return reminderMinutes * 60 + reminderSeconds; }
    };
    enum class Verdict { Accepted, TooShort, ReminderTooLate };
    struct TickResult {
        bool zeroReached = false;
        bool reminderDue = false;
    };

    int16_t remainingMinutes = 0;
    int16_t remainingSeconds = 0;
    int16_t reminderMinutes = 0;
    int16_t reminderSeconds = 0;
    Times startSnapshot;

    static Verdict check(const Times& t);
    // Loads the counter; the seconds start one above the set time so that the first
    // tick shows the set time unchanged.
    void start(const Times& t);
    TickResult tick();
    // Back to the values read at Start (Stop, end of the time-up sequence).
    void restoreFromSnapshot();
    QString display() const;
};
