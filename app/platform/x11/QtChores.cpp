#include "QtChores.h"

#include <QApplication>
#include <QThread>

namespace platform {

void QtChores::beep() { QApplication::beep(); }

void QtChores::sleep(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

} // namespace platform
