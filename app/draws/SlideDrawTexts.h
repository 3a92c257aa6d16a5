#pragma once

#include <QString>

// Every text the slide draw's handlers write or show, in one place. Captions are in its
// layout.
namespace slideDrawTexts {

inline const QString presentationFile = QStringLiteral("MYPPT.ppt");
inline const QString messageTitle = QStringLiteral("PPT随机抽签程序提示：");
inline const QString drawing = QStringLiteral("正在抽签");
inline const QString roundOver = QStringLiteral("      本轮抽签结束！！！  ");

// When there is nothing to draw from; in the style of the round's end message.
inline const QString programMissing =
    QStringLiteral("      无法启动演示程序（LibreOffice Impress），不能进行PPT图文抽签！  ");
inline QString cannotOpen(const QString& fileName) {
    return QStringLiteral("      无法打开PPT文件“") + fileName + QStringLiteral("”，不能进行PPT图文抽签！  ");
}
inline QString noSlides(const QString& fileName) {
    return QStringLiteral("      PPT文件“") + fileName + QStringLiteral("”中没有幻灯片，不能进行PPT图文抽签！  ");
}

// "7/30": the slide the show reports, over the presentation's slide count.
inline QString position(int shown, int total) { return QString::number(shown) + u'/' + QString::number(total); }

} // namespace slideDrawTexts
