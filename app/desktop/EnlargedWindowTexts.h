#pragma once

#include "core/NumberRules.h"

#include <QString>

// Every text the enlarged timer window's handlers write; its design captions are in Form6.json.
namespace enlargedTexts {
inline const QString statusIdle = QStringLiteral("  当前计时状态：停止计时");
inline const QString statusRunning = QStringLiteral("  当前计时状态：正在计时");
inline const QString statusPaused = QStringLiteral("  当前计时状态：暂停计时");
// The widest the digits ever get (all digits of the font are equally wide).
inline const QString digitsSample = QStringLiteral("00 : 00");

// "定时01分00秒"
inline QString setTime(int minutes, int seconds) {
    return QStringLiteral("定时") + padTwo(minutes) + u'分' + padTwo(seconds) + u'秒';
}
} // namespace enlargedTexts
