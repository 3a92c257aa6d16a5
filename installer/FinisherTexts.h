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

inline QString systemLine(bool sixtyFourBit, const QString& system) {
    return QStringLiteral("您当前使用的是%1位的%2操作系统").arg(sixtyFourBit ? 64 : 32).arg(system);
}

inline QString sixtyFourBitMessage() {
    return systemLine(true, QStringLiteral("Windows")) + pleaseWait();
}

inline QString thirtyTwoBitMessage() {
    return systemLine(false, QStringLiteral("Windows")) + pleaseWait();
}

// On Linux the note stays while the components are checked and, when all are there, after.
inline QString linuxMessage(bool sixtyFourBit) {
    return systemLine(sixtyFourBit, QStringLiteral("Linux")) + pleaseWait();
}

// Replaces the note: the finisher cannot install packages itself, so it names them.
inline QString linuxMissingHeading(bool sixtyFourBit) {
    return systemLine(sixtyFourBit, QStringLiteral("Linux")) +
           QStringLiteral("\n\n以下运行组件缺失，主程序的相应功能将无法使用，请安装所列软件包：");
}

inline QString linuxMissingLine(const QString& component, const QString& package) {
    return QStringLiteral("\n\u3000%1（软件包 %2）").arg(component, package);
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

inline QString registrationFailuresHeading() {
    return QStringLiteral("\n\n以下组件未能注册：");
}

inline QString reasonNotStarted(const QString& program) {
    return QStringLiteral("无法启动“%1”").arg(program);
}

inline QString compatibilityNotStartedNote(const QString& program) {
    return QStringLiteral("\n\n无法启动“%1”，未能设置兼容模式。").arg(program);
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
