#pragma once

#include <QString>

// Every text the order-number draw's handlers write or play, in one place. Captions
// and tool tips as designed are in its layout.
namespace orderDrawTexts {

inline const QString clickDrawToStart = QStringLiteral("请点击“抽签”按钮开始抽签");
inline const QString clickDraw = QStringLiteral("请点击“抽签”按钮");
inline const QString yourNumber = QStringLiteral("您抽取的顺序号为:");
inline const QString nextCaption = QStringLiteral("下一个");
inline const QString listSeparator = QStringLiteral("，");
inline const QString startSound = QStringLiteral("start.wav");
inline const QString roundOverSound = QStringLiteral("ding.wav");

// "抽签总人数为30人，已抽出顺序号如下："
inline QString listHeading(int count) {
    return QStringLiteral("抽签总人数为") + QString::number(count) + QStringLiteral("人，") +
           QStringLiteral("已抽出顺序号如下：");
}

} // namespace orderDrawTexts
