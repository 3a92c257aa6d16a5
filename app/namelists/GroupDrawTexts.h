#pragma once

#include <QString>

// The texts of the group draw window (Form9) that its handlers write and that differ from
// the name-list draw's; the captions it opens with are in its layout, the shared ones in
// ListTexts.h.
namespace groupDrawTexts {
inline const QString editCaption = QStringLiteral("编辑分组名单");
inline const QString resultsCaption = QStringLiteral("查看抽签数据");
inline const QString roundOver =
    QStringLiteral("     本轮抽签结束，请点击按钮左下角的“查看抽签数据”按钮查看抽签顺序号！  ");
inline const QString sorting = QStringLiteral("正在打开EXCEL排序，请稍候...");
} // namespace groupDrawTexts
