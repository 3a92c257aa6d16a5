#include "AppContext.h"

#include <QCoreApplication>

AppContext::AppContext(platform::Platform& platform, QString appDir)
    : platform(platform), forms(*this), appDir(std::move(appDir)) {}

void AppContext::yield(int times) const {
    for (int i = 0; i < times; ++i)
        QCoreApplication::processEvents();
}
