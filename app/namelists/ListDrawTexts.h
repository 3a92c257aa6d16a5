#pragma once

#include <QString>

// The texts of the name-list draw window (Form4) that its handlers write and that differ
// from the group draw's; the captions it opens with are in its layout, the shared ones in
// ListTexts.h.
namespace listDrawTexts {
inline const QString editCaption = QStringLiteral("编辑名单");
inline const QString resultsCaption = QStringLiteral("抽签结果");
inline const QString roundOver =
    QStringLiteral("       本轮抽签结束，请点击按钮左下角的“抽签结果”查看抽签结果！！！        ");
} // namespace listDrawTexts
