// The digits-only fields on every way text gets into them: keys, paste, drop and the
// commit of an input method (fcitx5 and ibus commit full-width digits and CJK text).
#include "ReadyProgramTest.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

enum class Path { Keys, Paste, Drop, InputMethod };

void enter(QLineEdit* field, Path path, const QString& text) {
    switch (path) {
    case Path::Keys:
        for (QChar ch : text) {
            // What a keyboard layout delivers: the key's text, whatever the key.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(field, &press);
        }
        break;
    case Path::Paste:
        QGuiApplication::clipboard()->setText(text);
        field->paste();
        break;
    case Path::Drop: {
        QMimeData data;
        data.setText(text);
        const QPoint at(field->width() - 2, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &drop);
        break;
    }
    case Path::InputMethod: {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(field, &commit);
        break;
    }
    }
}

class DigitFieldsTest : public ReadyProgramTest {};

TEST_F(DigitFieldsTest, EveryPathTakesDigitsFullWidthOnesTooAndRefusesTheRest) {
    Form* launcher = h.ctx().forms.loaded(FormId::Form2);
    ASSERT_NE(launcher, nullptr) << "loaded hidden at start-up";
    const struct {
        QLineEdit* field;
        int maxLength;
    } fields[] = {{w->control<QLineEdit>(QStringLiteral("Text1")), 2},
                  {w->control<QLineEdit>(QStringLiteral("Text2")), 2},
                  {w->control<QLineEdit>(QStringLiteral("Text4")), 2},
                  {w->control<QLineEdit>(QStringLiteral("Text5")), 2},
                  {launcher->control<QLineEdit>(QStringLiteral("Text2")), 3}};
    const struct {
        const char* typed;
        const char* taken; // for a field of at most two characters
    } entries[] = {{"30", "30"}, {"３０", "30"}, {"７", "7"}, {"１２３４", "12"}, {"ab", ""},
                   {"好", ""},   {"三十", ""},  {"-1", ""}};
    for (const auto& f : fields) {
        for (Path path : {Path::Keys, Path::Paste, Path::Drop, Path::InputMethod}) {
            for (const auto& e : entries) {
                const QString typed = QString::fromUtf8(e.typed);
                SCOPED_TRACE(testing::Message() << f.field->window()->objectName().toStdString() << "."
                                                << f.field->objectName().toStdString() << " path "
                                                << int(path) << " " << e.typed);
                f.field->clear();
                enter(f.field, path, typed);
                QString expected = QString::fromUtf8(e.taken);
                if (f.maxLength == 3 && typed == QStringLiteral("１２３４"))
                    expected = QStringLiteral("123");
                if (path == Path::Keys && expected.isEmpty() && typed == QStringLiteral("-1"))
                    expected = QStringLiteral("1"); // keys come one by one: the digit alone is taken
                EXPECT_EQ(f.field->text(), expected);
            }
        }
    }
    EXPECT_EQ(h.fake.chores.beeps, 0) << "refused, not let in and taken back";
}

} // namespace
