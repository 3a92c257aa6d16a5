#pragma once

#include <QString>

// The presentation player's own texts. It has no captions worth a layout but its button.
namespace playerTexts {

inline const QString messageTitle = QStringLiteral("Kelvora工具提示：");

// When the instruction presentation cannot be shown; the hint strip still closes the player.
inline QString cannotShow(const QString& fileName) {
    return QStringLiteral("      无法播放PPT说明文件“") + fileName +
           QStringLiteral("”，请确认已安装LibreOffice Impress且该文件完好！  ");
}

} // namespace playerTexts
