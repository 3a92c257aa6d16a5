#include "FakeShortcutPortal.h"

#include "platform/portal/PortalShortcutList.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

namespace {
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
// As portals answer: each shortcut with its description and the key it got.
QVariant answered(const QVariant& asked, bool keyed) {
    platform::PortalShortcutList list = platform::portalShortcutsOf(asked);
    for (platform::PortalShortcutEntry& entry : list) {
        const QString key = keyed ? entry.properties.value("preferred_trigger").toString() : QString();
        entry.properties = {{QStringLiteral("description"), entry.properties.value("description")},
                            {QStringLiteral("trigger_description"), key}};
    }
    return QVariant::fromValue(list);
}

} // namespace

// A session bus that starts no services: with the machine's own configuration, a call to
// a portal nobody plays here would start the real one (and KDE's part of it, which outlives
// the bus).
const char* const busConfig =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

PrivateSessionBus::PrivateSessionBus() {
    if (!m_config.open() || m_config.write(busConfig) < 0 || !m_config.flush()) return;
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + m_config.fileName(), QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(10000)) return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateSessionBus::~PrivateSessionBus() {
    for (const QString& name : m_connections)
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000)) m_daemon.kill();
}

QDBusConnection PrivateSessionBus::connect(const QString& name) const {
    m_connections << name;
    return QDBusConnection::connectToBus(m_address, name);
}

FakeShortcutPortal::FakeShortcutPortal(QDBusConnection bus, Kind kind) : m_bus(std::move(bus)), m_kind(kind) {
    platform::registerPortalShortcutTypes();
    m_bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
    m_bus.registerVirtualObject(portalPath, this);
}

FakeShortcutPortal::~FakeShortcutPortal() {
    m_bus.unregisterObject(portalPath);
}

void FakeShortcutPortal::activate(const QString& session, const QString& id) {
    QDBusMessage signal =
        QDBusMessage::createSignal(portalPath, shortcutsInterface, QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << id << QVariant::fromValue(qulonglong(1))
           << QVariantMap();
    m_bus.send(signal);
}

void FakeShortcutPortal::respond(const QString& request, uint response, const QVariantMap& results) {
    QDBusMessage signal = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    signal << response << results;
    m_bus.send(signal);
}

bool FakeShortcutPortal::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.interface() != shortcutsInterface || m_kind == Kind::WithoutShortcuts) {
        connection.send(
            message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no such interface")));
        return true;
    }
    m_calls << message.member();
    QString sender = message.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QList<QVariant> args = message.arguments();
    const QVariantMap options = qdbus_cast<QVariantMap>(args.constLast());
    const QString request = portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') +
                            options.value("handle_token").toString();
    connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    const QVariant none = QVariant::fromValue(platform::PortalShortcutList{});
    if (message.member() == QLatin1String("CreateSession")) {
        m_session = portalPath + QStringLiteral("/session/") + sender + QLatin1Char('/') +
                    options.value("session_handle_token").toString();
        const bool binds = m_kind == Kind::BindsWithSession || m_kind == Kind::KeyClearedBefore;
        respond(request, 0,
                {{QStringLiteral("session_handle"), m_session},
                 {QStringLiteral("shortcuts"),
                  binds ? answered(options.value("shortcuts"), m_kind == Kind::BindsWithSession) : none}});
    } else if (message.member() == QLatin1String("BindShortcuts")) {
        const bool declined = m_kind == Kind::UserDeclines;
        respond(request, declined ? 1 : 0,
                {{QStringLiteral("shortcuts"), declined ? none : answered(args.value(1), true)}});
    }
    return true;
}
