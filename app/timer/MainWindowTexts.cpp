#include "MainWindowTexts.h"

#include "core/NumberRules.h"

namespace mainTexts {

QString setTimeLine(int minutes, int seconds, int reminderMinutes, int reminderSeconds) {
    return QStringLiteral("定时 ") + padTwo(minutes) + u':' + padTwo(seconds) + u' ' + QStringLiteral("提前 ") +
           padTwo(reminderMinutes) + u':' + padTwo(reminderSeconds);
}

QString display(int minutes, int seconds) { return padTwo(minutes) + QStringLiteral(" : ") + padTwo(seconds); }

QString timeLeft(int minutes, int seconds) {
    return QStringLiteral("还剩") + QString::number(minutes) + u'分' + QString::number(seconds) + QStringLiteral("秒!");
}

} // namespace mainTexts
