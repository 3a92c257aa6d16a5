#pragma once

#include <QString>

// Every text the main window's handlers write or show, in one place.
namespace mainTexts {
inline const QString toolTitle = QStringLiteral("Kelvora工具");
inline const QString hintTitle = QStringLiteral("Kelvora工具提示：");

inline const QString tooShort = QStringLiteral("    请输入定时时间，定时时间至少需大于20秒");
inline const QString reminderTooLate =
    QStringLiteral("    “定时时间”需大于“提前提醒时间”至少10秒，请重新输入");
inline const QString confirmStop = QStringLiteral("       确实要停止计时吗?  ");
inline const QString secondsRange = QStringLiteral(
    "“分”钟值范围：0-99，“秒”钟值范围：1-59，点击“确定”后请在光标指示位置输入一个0-59的数字!");

inline const QString running = QStringLiteral("正在计时");
inline const QString paused = QStringLiteral("暂停计时");
inline const QString pauseCaption = QStringLiteral("暂停");
inline const QString pauseToolTip = QStringLiteral("暂停定时器计时");
inline const QString continueCaption = QStringLiteral("继续");
inline const QString continueToolTip = QStringLiteral("继续开始定时器计时");

inline const QString timeUp = QStringLiteral(" 时间到！");
inline const QString startSound = QStringLiteral("start.wav");
inline const QString middleSound = QStringLiteral("middle.wav");
inline const QString endSound = QStringLiteral("end.wav");
inline const QString preparedSound = QStringLiteral("ding.WAV");

// "定时 01:00 提前 00:30"
QString setTimeLine(int minutes, int seconds, int reminderMinutes, int reminderSeconds);
// "01 : 00"
QString display(int minutes, int seconds);
// "还剩0分30秒!"
QString timeLeft(int minutes, int seconds);
} // namespace mainTexts
