#pragma once

#include <QString>

// The texts both name-list draws show: the count corrections of the workbook rules,
// the message box format, and what the windows say when a list cannot be drawn from.
namespace listTexts {
inline const QString messageTitle = QStringLiteral("随机抽签程序提示：");
// A carriage return, the message, a carriage return and a line feed.
inline QString messageBody(const QString& message) {
    return QStringLiteral("\r") + message + QStringLiteral("\r\n");
}

inline const QString totalCapped = QStringLiteral("      抽签总人数不能大于600，已自动修改！ ");
inline const QString participantsCorrected = QStringLiteral("      参加抽签人数不能大于总人数，已自动修改！ ");

// A round cannot be drawn from this list; the user is told why, in the same style.
inline const QString programMissing =
    QStringLiteral("      无法启动电子表格程序，不能打开抽签名单！请确认已安装 LibreOffice Calc。 ");
inline QString openFailed(const QString& fileName) {
    return QStringLiteral("      无法打开抽签名单“%1”！请检查该文件是否在程序目录中、是否已损坏或密码已被修改。 ")
        .arg(fileName);
}
inline QString sheetMissing(const QString& fileName, const QString& sheet) {
    return QStringLiteral("      抽签名单“%1”中没有名为“%2”的工作表！ ").arg(fileName, sheet);
}
inline QString noPeople(const QString& editButton, const QString& totalCell) {
    return QStringLiteral("      名单中没有可抽签的人员（总人数为0或不是有效的数字）！请点击“%1”，"
                          "核对名单和%2中的总人数。 ")
        .arg(editButton, totalCell);
}
inline QString noParticipants(const QString& editButton, const QString& participantCell) {
    return QStringLiteral("      本次参加抽签的人数必须大于0！请点击“%1”，核对%2中的参加抽签人数。 ")
        .arg(editButton, participantCell);
}

// Compact window while the workbook opens, and its way back.
inline const QString opening = QStringLiteral("正在打开EXCEL，请稍候...");
inline const QString confirmCaption = QStringLiteral("数据已确认，下一步");

// "随机抽签数据表中总人数：30人，本次参加抽签的人数：10人"
inline QString countLine(int total, int participants) {
    return QStringLiteral("随机抽签数据表中总人数：") + QString::number(total) + QStringLiteral("人") +
           QStringLiteral("，") + QStringLiteral("本次参加抽签的人数：") + QString::number(participants) +
           QStringLiteral("人");
}
} // namespace listTexts
