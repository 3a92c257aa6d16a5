#pragma once

#include "office/FileProblem.h"

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

// Why a workbook could not be written, in the teacher's words.
inline QString problemReason(vexlo::office::FileProblem problem) {
    using vexlo::office::FileProblem;
    switch (problem) {
    case FileProblem::InUse:
        return QStringLiteral("该文件正被其他程序（例如另一个 LibreOffice 窗口）打开");
    case FileProblem::ReadOnlyFile:
        return QStringLiteral("该文件是只读的");
    case FileProblem::ReadOnlyFolder:
        return QStringLiteral("该文件所在的文件夹不允许写入");
    case FileProblem::DiskFull:
        return QStringLiteral("磁盘空间已满");
    case FileProblem::ProgramStopped:
        return QStringLiteral("电子表格程序意外停止了");
    case FileProblem::FormatNotWritable:
        return QStringLiteral("电子表格程序不能按该文件原来的格式保存");
    case FileProblem::None:
    case FileProblem::Unknown:
        break;
    }
    return QStringLiteral("保存时出错");
}
// The workbook is refused before anything is changed in it.
inline QString refused(const QString& fileName, vexlo::office::FileProblem problem) {
    using vexlo::office::FileProblem;
    QString next = QStringLiteral("请取消该文件的只读属性，或把程序和名单放到可以写入的文件夹，然后再试。");
    if (problem == FileProblem::InUse)
        next = QStringLiteral("请先在那个程序中关闭该文件，然后再试。");
    else if (problem == FileProblem::FormatNotWritable)
        next = QStringLiteral("请用电子表格程序把它另存为 Excel 97-2003 工作簿（.xls），然后再试。");
    else if (problem == FileProblem::DiskFull)
        next = QStringLiteral("请先腾出磁盘空间，然后再试。");
    return QStringLiteral("      抽签名单“%1”现在不能使用：%2！文件没有被改动。%3 ")
        .arg(fileName, problemReason(problem), next);
}
// A save that failed: nothing of this step reached the file.
inline QString resultsNotSaved(const QString& fileName, vexlo::office::FileProblem problem) {
    return QStringLiteral("      本轮抽签结果没有保存到“%1”中：%2！文件中仍是抽签前的内容。 ")
        .arg(fileName, problemReason(problem));
}
inline QString editsNotSaved(const QString& fileName, vexlo::office::FileProblem problem) {
    return QStringLiteral("      对“%1”的修改没有保存：%2！文件中仍是修改前的内容。 ")
        .arg(fileName, problemReason(problem));
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
