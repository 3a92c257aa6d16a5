#include "PortalShortcut.h"

#include "PortalShortcutList.h"
#include "platform/KeyState.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPortal, "vexlo.keys.portal")

namespace platform {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const char* const responseSlot = SLOT(onResponse(uint, QVariantMap, QDBusMessage));

// The portal puts a request's answer under /request/<our bus name>/<token>.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

QString pathIn(const QVariant& value) {
    return value.userType() == qMetaTypeId<QDBusObjectPath>() ? value.value<QDBusObjectPath>().path()
                                                              : value.toString();
}

} // namespace

PortalShortcut::PortalShortcut(QDBusConnection bus, Key key, std::function<qint64()> now)
    : m_bus(std::move(bus)), m_key(std::move(key)), m_now(std::move(now)) {
    registerPortalShortcutTypes();
}

PortalShortcut::~PortalShortcut() {
    if (m_session.isEmpty() || !m_bus.isConnected()) return;
    // Said without waiting: the portal closes it with our connection anyway.
    m_bus.send(
        QDBusMessage::createMethodCall(portalService, m_session, sessionInterface, QStringLiteral("Close")));
}

void PortalShortcut::start() {
    if (m_state != State::Idle) return;
    if (!m_bus.isConnected()) {
        setState(State::Unavailable, QStringLiteral("no session bus"));
        return;
    }
    m_bus.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusMessage)));
    setState(State::Asking, QStringLiteral("asking the portal for %1").arg(m_key.preferredTrigger));
    const QString token = m_key.sessionToken + QStringLiteral("_session");
    // Plasma 5.27 binds the shortcuts given with the session; later portals ignore them here.
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("session_handle_token"), m_key.sessionToken},
                              {QStringLiteral("shortcuts"), shortcutList()}};
    ask(QStringLiteral("CreateSession"), {options}, token);
}

bool PortalShortcut::offeredBy(QDBusConnection bus) {
    QDBusMessage get = QDBusMessage::createMethodCall(portalService, portalPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << shortcutsInterface << QStringLiteral("version");
    return bus.call(get, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
}

bool PortalShortcut::takeActivation() { return m_activation.take(m_now()); }

QVariant PortalShortcut::shortcutList() const {
    const PortalShortcutList list{{m_key.id,
                                   {{QStringLiteral("description"), m_key.description},
                                    {QStringLiteral("preferred_trigger"), m_key.preferredTrigger}}}};
    return QVariant::fromValue(list);
}

bool PortalShortcut::takeOurKey(const QVariant& shortcuts) {
    for (const PortalShortcutEntry& entry : portalShortcutsOf(shortcuts)) {
        if (entry.id != m_key.id) continue;
        m_trigger = entry.properties.value(QStringLiteral("trigger_description")).toString();
        return true;
    }
    return false;
}

QString PortalShortcut::boundWhy(const QString& how) const {
    // Without a key the shortcut is still ours: the desktop's shortcut settings can give it one.
    // (The key named is the portal's word: Plasma 5.27 names the preferred one even where
    // another program's shortcut holds it and ours got none.)
    return m_trigger.isEmpty()
               ? how + QStringLiteral(", without a key: set one in the desktop's shortcut settings")
               : how + QStringLiteral(", the portal names its key ") + m_trigger;
}

void PortalShortcut::ask(const QString& method, const QList<QVariant>& arguments, const QString& token) {
    // Listening before asking: the answer may come before the call's reply.
    awaitAnswerAt(requestPath(m_bus, token));
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, method, asked = m_requestPath](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                // The answer may have come first, and the next question may be out already.
                if (m_requestPath != asked) return;
                if (reply.isError()) {
                    stopAwaiting();
                    setState(State::Unavailable, method + QStringLiteral(": ") + reply.error().message());
                } else if (reply.value().path() != m_requestPath) {
                    // A portal older than handle tokens chose the path itself.
                    awaitAnswerAt(reply.value().path());
                }
            });
}

void PortalShortcut::awaitAnswerAt(const QString& path) {
    stopAwaiting();
    m_requestPath = path;
    m_bus.connect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"), this,
                  responseSlot);
}

void PortalShortcut::stopAwaiting() {
    if (m_requestPath.isEmpty()) return;
    m_bus.disconnect(portalService, m_requestPath, requestInterface, QStringLiteral("Response"), this,
                     responseSlot);
    m_requestPath.clear();
}

void PortalShortcut::onResponse(uint response, const QVariantMap& results, const QDBusMessage& message) {
    if (message.path() != m_requestPath) return;
    stopAwaiting();
    if (response != 0) {
        setState(State::Unavailable, response == 1 ? QStringLiteral("the user declined the shortcut")
                                                   : QStringLiteral("the portal failed (%1)").arg(response));
        return;
    }
    if (m_session.isEmpty()) {
        m_session = pathIn(results.value(QStringLiteral("session_handle")));
        if (m_session.isEmpty()) {
            setState(State::Unavailable, QStringLiteral("the portal gave no session"));
        } else if (takeOurKey(results.value(QStringLiteral("shortcuts")))) {
            setState(State::Bound, boundWhy(QStringLiteral("bound with the session")));
        } else {
            const QString token = m_key.sessionToken + QStringLiteral("_bind");
            ask(QStringLiteral("BindShortcuts"),
                {QVariant::fromValue(QDBusObjectPath(m_session)), shortcutList(), QString(),
                 QVariantMap{{QStringLiteral("handle_token"), token}}},
                token);
        }
        return;
    }
    takeOurKey(results.value(QStringLiteral("shortcuts")));
    setState(State::Bound, boundWhy(QStringLiteral("bound")));
}

void PortalShortcut::onActivated(const QDBusMessage& message) {
    // (o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2) return;
    const QString session = pathIn(arguments.at(0));
    const QString id = arguments.at(1).toString();
    qCDebug(lcPortal).noquote() << "activated:" << id << "of" << session;
    if (session != m_session || id != m_key.id) return;
    m_activation.press(m_now());
    emit activated();
}

void PortalShortcut::setState(State state, const QString& why) {
    qCInfo(lcPortal).noquote() << "global shortcut" << m_key.id + QLatin1Char(':') << why;
    if (m_state == state) return;
    m_state = state;
    emit stateChanged(state);
}

} // namespace platform
