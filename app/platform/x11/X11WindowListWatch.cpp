#include "X11WindowList.h"

#include "X11Display.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>

#include <xcb/xcb.h>
// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>

Q_LOGGING_CATEGORY(lcWindowList, "vexlo.windowlist")

// The connection and the change events that keep the walk's titles fresh.
namespace platform {

namespace {

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

X11WindowList::X11WindowList(Mode mode) : m_mode(mode) {}

X11WindowList::~X11WindowList() {
    m_notifier.reset();
    if (m_ownConnection && m_c)
        xcb_disconnect(m_c);
}

bool X11WindowList::connect() {
    if (m_c)
        return true;
    xcb_connection_t* qt = qtConnection();
    Display* display = x11::display();
    if (!qt || !display || m_failed)
        return false;
    const xcb_setup_t* qtSetup = xcb_get_setup(qt);
    m_ownBase = qtSetup->resource_id_base;
    m_ownMask = qtSetup->resource_id_mask;
    if (m_mode == Mode::Watching) {
        // A connection of its own, so the change events it asks for come to it alone.
        xcb_connection_t* own = xcb_connect(XDisplayString(display), nullptr);
        if (own && !xcb_connection_has_error(own)) {
            m_c = own;
            m_ownConnection = true;
        } else {
            qCWarning(lcWindowList) << "no connection of its own; every walk reads every title";
            if (own)
                xcb_disconnect(own);
        }
    }
    if (!m_c)
        m_c = qt;
    m_root = static_cast<uint32_t>(XDefaultRootWindow(display));

    static const char* const names[] = {"_NET_WM_NAME", "UTF8_STRING", "COMPOUND_TEXT", "_NET_CLIENT_LIST"};
    uint32_t* const atoms[] = {&m_netWmName, &m_utf8String, &m_compoundText, &m_netClientList};
    xcb_intern_atom_cookie_t cookies[4];
    for (int i = 0; i < 4; ++i)
        cookies[i] = xcb_intern_atom(m_c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        xcb_generic_error_t* error = nullptr;
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_c, cookies[i], &error);
        ok = ok && reply;
        if (reply)
            *atoms[i] = reply->atom;
        std::free(reply);
        std::free(error);
    }
    if (!ok) {
        if (m_ownConnection)
            xcb_disconnect(m_c);
        m_c = nullptr;
        m_ownConnection = false;
        m_failed = true;
        return false;
    }
    if (m_ownConnection) {
        watch(m_root, XCB_EVENT_MASK_PROPERTY_CHANGE); // the client list
        xcb_flush(m_c);
        // Events are taken as they come, so none pile up while nobody walks.
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_c), QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { drainEvents(false); });
    }
    return true;
}

void X11WindowList::watch(uint32_t window, uint32_t mask) {
    // A window that is gone answers with an error event, which the drain drops.
    xcb_change_window_attributes(m_c, window, XCB_CW_EVENT_MASK, &mask);
}

void X11WindowList::invalidate(uint32_t window) {
    if (auto it = m_known.find(window); it != m_known.end())
        it->second.valid = false;
    if (auto t = m_rootOfTitled.find(window); t != m_rootOfTitled.end()) {
        if (auto it = m_known.find(t->second); it != m_known.end())
            it->second.valid = false;
    }
}

void X11WindowList::drainEvents(bool queuedOnly) {
    if (!m_ownConnection)
        return;
    while (xcb_generic_event_t* ev = queuedOnly ? xcb_poll_for_queued_event(m_c) : xcb_poll_for_event(m_c)) {
        switch (ev->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(ev);
            if (e->window == m_root) {
                if (e->atom == m_netClientList)
                    m_clientsValid = false;
            } else if (e->atom == m_netWmName || e->atom == XCB_ATOM_WM_NAME) {
                invalidate(e->window);
            }
            break;
        }
        // Children of a frame came, went or moved: its client may have changed.
        case XCB_CREATE_NOTIFY:
            invalidate(reinterpret_cast<const xcb_create_notify_event_t*>(ev)->parent);
            break;
        case XCB_DESTROY_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_destroy_notify_event_t*>(ev);
            invalidate(e->event);
            invalidate(e->window);
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto* e = reinterpret_cast<const xcb_reparent_notify_event_t*>(ev);
            invalidate(e->event);
            invalidate(e->window);
            break;
        }
        default:
            break;
        }
        std::free(ev);
    }
}

} // namespace platform
