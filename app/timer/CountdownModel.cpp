#include "CountdownModel.h"

#include "MainWindowTexts.h"

CountdownModel::Verdict CountdownModel::check(const Times& t) {
    if (t.setTotal() < 20)
        return Verdict::TooShort;
    if (t.setTotal() < t.reminderTotal() + 10)
        return Verdict::ReminderTooLate;
    return Verdict::Accepted;
}

void CountdownModel::start(const Times& t) {
    startSnapshot = t;
    reminderMinutes = t.reminderMinutes;
    reminderSeconds = t.reminderSeconds;
    remainingMinutes = t.setMinutes;
    remainingSeconds = static_cast<int16_t>(t.setSeconds + 1);
}

CountdownModel::TickResult CountdownModel::tick() {
    TickResult r;
    remainingSeconds -= 1;
    if (remainingSeconds < 0) {
        remainingSeconds = 59;
        remainingMinutes -= 1;
    }
    r.zeroReached = remainingMinutes == 0 && remainingSeconds == 0;
    r.reminderDue = reminderMinutes + reminderSeconds != 0 && remainingMinutes == reminderMinutes &&
                    remainingSeconds == reminderSeconds;
    return r;
}

void CountdownModel::restoreFromSnapshot() {
    remainingMinutes = startSnapshot.setMinutes;
    remainingSeconds = startSnapshot.setSeconds;
    reminderMinutes = startSnapshot.reminderMinutes;
    reminderSeconds = startSnapshot.reminderSeconds;
}

QString CountdownModel::display() const { return mainTexts::display(remainingMinutes, remainingSeconds); }
