#include "QtMessageBoxes.h"

#include <QMessageBox>

namespace platform {

namespace {

// The texts carry carriage returns as line breaks; show them as such.
QString displayText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

int runBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title, displayText(text), buttons);
    box.setDefaultButton(defaultButton);
    // System-modal: above every window, the program's own always-on-top ones included.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

} // namespace

void QtMessageBoxes::information(const QString& title, const QString& text) {
    runBox(title, text, QMessageBox::Ok, QMessageBox::Ok);
}

MessageBoxes::Answer QtMessageBoxes::askYesNo(const QString& title, const QString& text) {
    const int r = runBox(title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return r == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace platform
