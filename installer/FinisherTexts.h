#pragma once

#include <QString>

// Every text the finisher's window shows, in one place.
namespace FinisherTexts {

inline QString windowTitle() {
    return QStringLiteral("Kelvora软件安装程序 Vexlo8.12  安装即将完成…\u3000");
}

inline QString label1DesignText() {
    return QStringLiteral("安装程序正在完成最后的安装配置请稍候…");
}

inline QString pleaseWait() {
    return QStringLiteral("\n\n 安装程序正在完成最后的安装设置，请稍候…");
}

inline QString sixtyFourBitMessage() {
    return QStringLiteral("您当前使用的是64位的Windows操作系统") + pleaseWait();
}

inline QString thirtyTwoBitMessage() {
    return QStringLiteral("您当前使用的是32位的Windows操作系统") + pleaseWait();
}

// Without "windir" there is no system directory; writing into the root folder instead
// would scatter the components where nothing finds them.
inline QString noWindirMessage() {
    return QStringLiteral(
        "未能确定系统目录：环境变量“windir”未设置。\n\n 运行组件未能安装，主程序可能无法正常运行。");
}

inline QString noSystemDirectoryNote(const QString& systemDirectory) {
    return QStringLiteral("\n\n未找到系统目录“%1”，运行组件未能安装，主程序可能无法正常运行。")
        .arg(systemDirectory);
}

inline QString copyFailuresHeading(const QString& systemDirectory) {
    return QStringLiteral("\n\n以下组件未能放入系统目录“%1”：").arg(systemDirectory);
}

inline QString copyFailureLine(const QString& fileName, const QString& reason) {
    return QStringLiteral("\n\u3000%1：%2").arg(fileName, reason);
}

inline QString reasonSourceMissing() {
    return QStringLiteral("安装目录中没有此文件");
}

inline QString reasonNoPermission() {
    return QStringLiteral("没有写入系统目录的权限");
}

inline QString reasonNoSpace() {
    return QStringLiteral("磁盘空间不足");
}

inline QString reasonOther(const QString& detail) {
    return QStringLiteral("复制失败（%1）").arg(detail);
}

// A double quote cannot be quoted inside the compatibility command, so such a folder name
// would change the command's meaning.
inline QString quoteInSourceDirectoryNote() {
    return QStringLiteral("\n\n安装目录名含有双引号，未能设置兼容模式。");
}

} // namespace FinisherTexts
