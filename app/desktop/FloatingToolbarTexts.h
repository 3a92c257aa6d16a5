#pragma once

#include "core/NumberRules.h"

#include <QString>

// Every text the floating toolbar's handlers write; its design captions are in Form3.json.
namespace toolbarTexts {
inline const QString idle = QStringLiteral("当前计时状态：未开始计时…");
inline const QString paused = QStringLiteral(" 当前计时状态：暂停计时…");
inline const QString hintTitle = QStringLiteral("Kelvora工具提示：");
inline const QString cannotHide = QStringLiteral("以下三种情况不能隐藏主界面            \n\n"
                                                 "    1.当前未开始计时，或\n"
                                                 "    2.当前为暂停计时，或\n"
                                                 "    3.当前打开了PPT文件但没有播放该文件");
// The window caption while the hint panel is open.
inline const QString hintPanelCaption = QStringLiteral("Kelvora工具  半透明计时工具条");

// "定时05分00秒,剩余03分27秒" from the set time and the main window's "03 : 27".
inline QString running(int setMinutes, int setSeconds, const QString& mainDisplay) {
    return QStringLiteral("定时") + padTwo(setMinutes) + u'分' + padTwo(setSeconds) + u'秒' + QStringLiteral(",剩余") +
           mainDisplay.mid(0, 2) + u'分' + mainDisplay.mid(5, 2) + u'秒';
}
} // namespace toolbarTexts
