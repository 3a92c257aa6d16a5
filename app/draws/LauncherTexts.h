#pragma once

#include <QString>

// Every text the draw launcher's handlers (and the main window's Draw button guard) show
// or hand on, in one place. Captions and tool tips are in the launcher's layout.
namespace launcherTexts {

inline const QString toolTitle = QStringLiteral("Kelvora工具");
inline const QString hintTitle = QStringLiteral("Kelvora工具提示：");

// Asked by the Draw button while the user's presentation program runs.
inline const QString closePresentationQuestion =
    QStringLiteral("    当前已打开一个PPT文件，关闭该PPT文件才能进行抽签操作！");

// Label7, the confirmation before an unfinished order-number draw is left.
inline const QString exitConfirmation = QStringLiteral("\n本轮抽签还没有结束\n\n    您确实要退出抽签程序吗？");

namespace detail {
inline QString presentationOpen(int blanksBefore, int blanksAfter, int secondBlanks, int ideographicSpaces) {
    return QStringLiteral("\r") + QString(blanksBefore, u' ') +
           QStringLiteral("当前已打开一个PPT文件，需关闭该PPT文件才能进行抽签操作！") + QString(blanksAfter, u' ') +
           QStringLiteral("\r\n\r\n") + QString(secondBlanks, u' ') + QString(ideographicSpaces, QChar(0x3000)) +
           QStringLiteral("确认后将回到主界面！");
}
} // namespace detail

// Shown by the presentation buttons while the user's presentation program runs; each
// button has its own spacing.
inline const QString presentationOpenNote1 = detail::presentationOpen(3, 3, 3, 5);
inline const QString presentationOpenNote2 = detail::presentationOpen(2, 4, 7, 3);
inline const QString presentationOpenSlides = detail::presentationOpen(2, 4, 2, 9);

inline const QString note1File = QStringLiteral("Note1.PPT");
inline const QString note2File = QStringLiteral("Note2.PPT");

} // namespace launcherTexts
