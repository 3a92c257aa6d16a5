#include "LoUno.h"

#include "office/OfficeLogging.h"

#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <com/sun/star/uno/Exception.hpp>

#include <QFileInfo>
#include <QUrl>

#include <mutex>

namespace vexlo::office::lo {

rtl::OUString fileUrl(const QString& path) {
    return toOU(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

css::uno::Reference<css::uno::XComponentContext> localContext(const QString& programDir) {
    static std::mutex mutex;
    static css::uno::Reference<css::uno::XComponentContext> context;
    static bool tried = false;
    std::lock_guard lock(mutex);
    if (tried) return context;
    tried = true;
    try {
        // Without this the bootstrap crashes: it must find the office's own settings.
        rtl::Bootstrap::set(rtl::OUString("URE_BOOTSTRAP"),
                            toOU(QStringLiteral("vnd.sun.star.pathname:%1/fundamentalrc").arg(programDir)));
        context = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        qCWarning(lcOfficeLo) << "UNO bootstrap failed:" << fromOU(e.Message);
    } catch (const std::exception& e) {
        qCWarning(lcOfficeLo) << "UNO bootstrap failed:" << e.what();
    }
    return context;
}

QVariant fromCellAny(const css::uno::Any& any) {
    double d = 0;
    if (any >>= d) return QVariant(d);
    rtl::OUString s;
    if ((any >>= s) && !s.isEmpty()) return QVariant(fromOU(s));
    return {};
}

} // namespace vexlo::office::lo
