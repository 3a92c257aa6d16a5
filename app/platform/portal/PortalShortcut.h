#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include "platform/KeyState.h"

#include <functional>

namespace platform {

// One key granted by the desktop portal's GlobalShortcuts interface: in a Wayland session
// the compositor tells no X11 program of keys while a native window has the keyboard, but
// it tells the portal's clients of their shortcuts. The session is asked for once; the key
// stays bound while the program runs (the portal closes the session with the connection).
//
// KDE Plasma 5.27 takes the shortcuts with the session and binds the preferred key at once;
// later portals want a separate bind, which may ask the user once. Where no portal offers
// the interface (GNOME before 48, no portal at all) nothing happens beyond one log line.
class PortalShortcut : public QObject {
    Q_OBJECT
public:
    enum class State { Idle, Asking, Bound, Unavailable };

    struct Key {
        QString id;               // the shortcut's name at the portal
        QString description;      // shown in the desktop's shortcut settings
        QString preferredTrigger; // as the portal writes keys: "F9"
        QString sessionToken;     // KDE names the shortcut's settings group after it
    };

    // now: milliseconds on a monotonic clock (a test's own clock in tests).
    PortalShortcut(QDBusConnection bus, Key key, std::function<qint64()> now);
    ~PortalShortcut() override;

    void start();
    State state() const { return m_state; }
    // The key the desktop gave the shortcut, as it describes it ("F9"); empty while none is
    // known. Plasma keeps a key the user cleared, and binds the shortcut without one.
    QString trigger() const { return m_trigger; }
    // True once per activation of the last half second; forgets it.
    bool takeActivation();
    // Whether the desktop's portal offers global shortcuts at all; blocks up to 10 s.
    static bool offeredBy(QDBusConnection bus);

signals:
    void stateChanged(platform::PortalShortcut::State state);
    void activated();

private slots:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);

private:
    void ask(const QString& method, const QList<QVariant>& arguments, const QString& token);
    void awaitAnswerAt(const QString& path);
    void stopAwaiting();
    void setState(State state, const QString& why);
    // Whether the answer lists our shortcut; takes the key it names.
    bool takeOurKey(const QVariant& shortcuts);
    QVariant shortcutList() const;
    QString boundWhy(const QString& how) const;

    QDBusConnection m_bus;
    Key m_key;
    std::function<qint64()> m_now;
    State m_state = State::Idle;
    QString m_requestPath; // the request whose answer is awaited
    QString m_session;
    QString m_trigger;
    PendingPress m_activation;
};

} // namespace platform
