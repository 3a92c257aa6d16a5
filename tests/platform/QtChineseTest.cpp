// Qt's own texts (standard buttons, context menus) read Chinese whatever the locale.
#include "platform/x11/QtMessageBoxes.h"
#include "platform/x11/QtTranslations.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Texts without their keyboard mnemonics and shortcuts ("是(&Y)" reads "是").
QStringList plain(const QList<QString>& texts) {
    QStringList out;
    for (QString t : texts)
        out << t.section(u'\t', 0, 0).remove(QRegularExpression(QStringLiteral("\\(&.\\)"))).remove(u'&');
    return out;
}

// Reads the buttons of the box that opens next and answers it with its default button.
QStringList buttonsOfNextBox(const std::function<void()>& open) {
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton* b : box->buttons())
            texts << b->text();
        box->defaultButton()->click();
    });
    open();
    return plain(texts);
}

TEST(QtChinese, MessageBoxButtonsAndTextMenusReadChinese) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // the user's locale does not matter
    ASSERT_TRUE(platform::installChineseQtTranslations(*QCoreApplication::instance()));
    platform::QtMessageBoxes boxes;
    const QStringList question = buttonsOfNextBox([&] { boxes.askYesNo(QStringLiteral("Kelvora工具"), QStringLiteral("?")); });
    EXPECT_TRUE(question.contains(QStringLiteral("是"))) << question.join(u' ').toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("否"))) << question.join(u' ').toStdString();
    const QStringList notice = buttonsOfNextBox([&] { boxes.information(QStringLiteral("Kelvora工具"), QStringLiteral("!")); });
    EXPECT_EQ(notice, QStringList{QStringLiteral("确定")});

    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList actions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            actions << a->text();
    actions = plain(actions);
    for (const char* expected : {"粘贴", "复制", "全选"})
        EXPECT_TRUE(actions.contains(QString::fromUtf8(expected))) << actions.join(u' ').toStdString();
}

} // namespace
