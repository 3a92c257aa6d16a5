// Recognising the presentation program by window title.
#include "desktop/TitlePatterns.h"

#include <gtest/gtest.h>

namespace {

TEST(TitlePatterns, MatchesAsTheWatchReadsTitles) {
    struct Case {
        const char* title;
        bool slideShow, presentation;
    } cases[] = {
        // The two literals, in any case of the Latin letters, anywhere in the title.
        {"Microsoft PowerPoint - [讲稿.ppt]", false, true},
        {"讲稿.ppt - mIcRoSoFt powerPOINT", false, true},
        {"PowerPoint 幻灯片放映 - [讲稿.ppt]", true, false},
        {"powerpoint 幻灯片放映 - [讲稿.ppt]", true, false},
        {"[讲稿.ppt] POWERPOINT 幻灯片放映", true, false},
        {"Notes on microsoft powerpoint.txt - Editor", false, true},
        // The Chinese part must be exact.
        {"PowerPoint 幻灯片播放 - [讲稿.ppt]", false, false},
        {"PowerPoint幻灯片放映", false, false},
        {"Microsoft  PowerPoint", false, false},
        // LibreOffice Impress: document windows and the show window in three languages.
        {"讲稿.odp - LibreOffice Impress", false, true},
        {"讲稿.ppt - libreoffice impress", false, true},
        {"Presenting: 讲稿.odp", true, false},
        {"PRESENTING: x", true, false},
        {"正在演示: 讲稿.odp", true, false},
        {"正在簡報：講稿.odp", true, false},
        {"He is Presenting: slides", false, false},
        {"正在演示 讲稿.odp", false, false},
        // Other programs.
        {"讲稿.odt - LibreOffice Writer", false, false},
        {"LibreOffice", false, false},
        {"Kelvora工具", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        const titles::Seen seen = titles::match(QString::fromUtf8(c.title));
        EXPECT_EQ(seen.slideShow, c.slideShow) << c.title;
        EXPECT_EQ(seen.presentation, c.presentation) << c.title;
    }
}

TEST(TitlePatterns, OneMatchAmongManySetsAFlagAndOwnWindowsAreSkipped) {
    const QStringList list = {QStringLiteral("Terminal"), QStringLiteral("PowerPoint 幻灯片放映 - a.ppt"),
                              QStringLiteral("b.ppt - Microsoft PowerPoint"), QStringLiteral("Editor")};
    EXPECT_EQ(titles::matchAll(list, {}), (titles::Seen{true, true}));
    EXPECT_EQ(titles::matchAll(list, {false, true, false, false}), (titles::Seen{false, true}));
    EXPECT_EQ(titles::matchAll(list, {false, true, true, false}), (titles::Seen{false, false}));
    EXPECT_EQ(titles::matchAll({}, {}), (titles::Seen{false, false}));
}

} // namespace
