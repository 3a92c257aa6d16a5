#pragma once

#include <QString>

namespace exitTexts {
inline const QString toolTitle = QStringLiteral("Kelvora工具");
inline const QString hintTitle = QStringLiteral("Kelvora工具提示：");
inline const QString confirmExit = QStringLiteral("      确实要退出Kelvora程序吗? ");

inline const QString helpFile = QStringLiteral("帮助文件.chm");
// What the Windows desktop runs for the help file.
inline const QString windowsHelpCommand = QStringLiteral("hh.exe 帮助文件.chm");
// Viewers of compiled help files on this desktop, in order of preference.
inline const QStringList helpViewers = {QStringLiteral("xchm"), QStringLiteral("kchmviewer")};
inline const QString noHelpViewer = QStringLiteral(
    "\r    无法打开帮助文件：本机没有可以显示帮助文件（.chm）的程序。\r\n\r\n"
    "    请安装 xchm 或 kchmviewer 后再点击“帮助”。\r\n");

inline const QString productLine = QStringLiteral("Tarnwick Vexlo Ver 8.06   ");
inline const QString homePageToolTip = QStringLiteral("打开主页，下载最新版本 ");
} // namespace exitTexts
