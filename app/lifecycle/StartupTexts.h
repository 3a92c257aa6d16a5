#pragma once

#include <QString>
#include <QStringList>

namespace startupTexts {
inline const QString hintTitle = QStringLiteral("Kelvora工具提示：");
inline const QString alreadyRunning =
    QStringLiteral("\r    您好，本软件已运行，请按功能键F9显示程序界面！    \r\n");
// The title once loading is complete.
inline const QString programTitle = QStringLiteral("Kelvora工具  演讲计时与随机抽签");

// Names the missing files and the folder they were looked for in.
inline QString missingFiles(const QStringList& files, const QString& folder) {
    return QStringLiteral("\r    本软件的以下文件缺失，程序无法运行：\r\n\r\n        ") +
           files.join(QStringLiteral("\r\n        ")) +
           QStringLiteral("\r\n\r\n    程序在以下文件夹中查找这些文件：\r\n        ") + folder +
           QStringLiteral("\r\n\r\n    请把文件放回该文件夹，或从该文件夹启动本软件。\r\n");
}
} // namespace startupTexts
