#include "QtSoundPlayers.h"

#include "platform/FileLookup.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcSound, "vexlo.sound")

namespace platform {

namespace {

// A wave device on Qt Multimedia. The effect object is made on the first Open, so a
// window that never plays costs nothing at start-up.
class QtSoundPlayer : public SoundPlayer {
public:
    void setFileName(const QString& fileName) override { m_fileName = fileName; }

    void command(const QString& name) override {
        if (name.compare(QLatin1String("Close"), Qt::CaseInsensitive) == 0) {
            if (m_effect)
                m_effect->stop();
            m_open = false;
        } else if (name.compare(QLatin1String("Open"), Qt::CaseInsensitive) == 0) {
            const QString path = findFileIgnoringCase(QDir::currentPath(), m_fileName);
            if (path.isEmpty()) {
                qCDebug(lcSound) << "no sound file" << m_fileName << "in" << QDir::currentPath();
                m_open = false;
                return;
            }
            if (!m_effect)
                m_effect = std::make_unique<QSoundEffect>();
            m_effect->setSource(QUrl::fromLocalFile(path));
            m_open = true;
        } else if (name.compare(QLatin1String("PLAY"), Qt::CaseInsensitive) == 0) {
            if (m_open && m_effect)
                m_effect->play(); // plays once loaded; nobody waits for the end
        } else {
            qCDebug(lcSound) << "unknown sound command" << name;
        }
    }

private:
    QString m_fileName;
    std::unique_ptr<QSoundEffect> m_effect;
    bool m_open = false;
};

} // namespace

std::unique_ptr<SoundPlayer> QtSoundPlayers::create() { return std::make_unique<QtSoundPlayer>(); }

} // namespace platform
