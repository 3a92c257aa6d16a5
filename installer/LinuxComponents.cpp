#include "LinuxComponents.h"

#include "Logging.h"
#include "OfficeBridgeProbe.h"

#include <QAudioDevice>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMediaDevices>
#include <QStandardPaths>

#include <dlfcn.h>
#include <functional>

namespace {

class Probe : public ComponentProbe {
public:
    Probe(QString name, QString package, std::function<bool()> check)
        : m_name(std::move(name)), m_package(std::move(package)), m_check(std::move(check)) {}
    QString name() const override { return m_name; }
    QString package() const override { return m_package; }
    bool isPresent(std::stop_token) override { return m_check(); }

private:
    QString m_name;
    QString m_package;
    std::function<bool()> m_check;
};

bool allFilesIn(const QString& directory, const QStringList& names) {
    for (const QString& name : names) {
        if (!QFileInfo(QDir(directory).filePath(name)).isFile()) {
            qCDebug(lcFinisher).noquote() << "no" << name << "in" << directory;
            return false;
        }
    }
    return true;
}

bool anyExecutable(const QStringList& names) {
    for (const QString& name : names) {
        if (!QStandardPaths::findExecutable(name).isEmpty()) return true;
    }
    return false;
}

// The wave player is QSoundEffect, which plays through Qt's own audio output (PulseAudio on
// Debian's Qt), not through a media framework: without an output device it stays silent.
bool soundOutputAvailable() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool chineseFontAvailable() {
    return !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
}

// The main program's windows use Xlib on the X11 display whatever session it runs in; libX11
// is opened at run time so that its absence is a finding, not a start failure.
bool x11DisplayOpens() {
    void* library = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        qCDebug(lcFinisher) << "no libX11:" << ::dlerror();
        return false;
    }
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    const auto open = reinterpret_cast<OpenDisplay>(::dlsym(library, "XOpenDisplay"));
    const auto close = reinterpret_cast<CloseDisplay>(::dlsym(library, "XCloseDisplay"));
    bool opened = false;
    if (open && close) {
        if (void* display = open(nullptr)) {
            opened = true;
            close(display);
        }
    }
    ::dlclose(library);
    return opened;
}

} // namespace

ComponentProbes linuxComponentProbes(const LinuxSettings& settings) {
    const QString program = settings.officeProgramDir;
    return {
        std::make_shared<OfficeBridgeProbe>(program, settings.dataFolder),
        std::make_shared<Probe>(QStringLiteral("LibreOffice Calc 电子表格程序"),
                                QStringLiteral("libreoffice-calc"),
                                // the Calc core and its .xls filter
                                [program] {
                                    return allFilesIn(program, {"libsclo.so", "libscfiltlo.so"});
                                }),
        std::make_shared<Probe>(QStringLiteral("LibreOffice Impress 演示文稿程序"),
                                QStringLiteral("libreoffice-impress"),
                                // the drawing core that opens .ppt and the slide show engine
                                [program] {
                                    return allFilesIn(program, {"libsdlo.so", "libslideshowlo.so"});
                                }),
        std::make_shared<Probe>(QStringLiteral("帮助文件查看程序 xchm 或 kchmviewer"), QStringLiteral("xchm"),
                                [] {
                                    return anyExecutable({"xchm", "kchmviewer"});
                                }),
        std::make_shared<Probe>(QStringLiteral("声音输出（PulseAudio 声音服务）"),
                                QStringLiteral("pulseaudio"), soundOutputAvailable),
        std::make_shared<Probe>(QStringLiteral("中文字体"), QStringLiteral("fonts-noto-cjk"),
                                chineseFontAvailable),
        std::make_shared<Probe>(QStringLiteral("X11 显示（DISPLAY）"), QStringLiteral("xwayland"),
                                x11DisplayOpens),
    };
}

QString userDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/vexlo");
}

bool isSixtyFourBitArchitecture(const QString& architecture) {
    return architecture.endsWith(QLatin1String("64")) || architecture == QLatin1String("s390x");
}
