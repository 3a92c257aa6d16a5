#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

// A D-Bus session bus of the test's own (dbus-daemon), ended with the object.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    bool running() const { return !m_address.isEmpty(); }
    // A new connection to the bus under a name of its own.
    QDBusConnection connect(const QString& name) const;

private:
    QTemporaryFile m_config;
    QProcess m_daemon;
    QString m_address;
    mutable QStringList m_connections;
};

// The desktop portal's GlobalShortcuts interface as the desktops answer it: Plasma 5.27
// binds the shortcuts given with the session, with their preferred key unless the user
// cleared it before; later portals bind on BindShortcuts, where the user may decline; some
// portals lack the interface.
class FakeShortcutPortal : public QDBusVirtualObject {
public:
    enum class Kind { BindsWithSession, KeyClearedBefore, BindsOnRequest, UserDeclines, WithoutShortcuts };

    FakeShortcutPortal(QDBusConnection bus, Kind kind);
    ~FakeShortcutPortal() override;

    QStringList calls() const { return m_calls; }
    QString session() const { return m_session; }
    // The portal's signal that a shortcut of a session was pressed.
    void activate(const QString& session, const QString& id);

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString&) const override { return {}; }

private:
    void respond(const QString& request, uint response, const QVariantMap& results);

    QDBusConnection m_bus;
    Kind m_kind;
    QStringList m_calls;
    QString m_session;
};
