#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// How the slide-show watch recognises the presentation program by window title alone.
namespace titles {

// Searched in the upper-cased title, anywhere in it.
inline const QString slideShowLiteral = QStringLiteral("POWERPOINT 幻灯片放映");
inline const QString presentationLiteral = QStringLiteral("MICROSOFT POWERPOINT");

// LibreOffice Impress on this desktop. Its document windows are titled "<file> - LibreOffice
// Impress" in every language (the module name is not translated); its full-screen show
// window is titled "Presenting: <file>", in the Chinese interfaces "正在演示: <file>"
// (simplified) and "正在簡報：<file>" (traditional). The show titles are prefixes, so they
// are matched at the start only.
inline const QString impressLiteral = QStringLiteral("LIBREOFFICE IMPRESS");
inline const QStringList impressShowPrefixes = {QStringLiteral("PRESENTING: "), QStringLiteral("正在演示: "),
                                                QStringLiteral("正在簡報：")};

struct Seen {
    bool slideShow = false;
    bool presentation = false;
    bool operator==(const Seen&) const = default;
};

// One title: upper-cased with the platform's case mapping, then searched.
Seen match(const QString& title);

// All collected titles; the program's own windows (marked in `own`) never count.
Seen matchAll(const QStringList& titles, const std::vector<bool>& own);

} // namespace titles
