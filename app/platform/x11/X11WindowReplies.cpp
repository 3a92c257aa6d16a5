#include "X11WindowReplies.h"

#include "X11Display.h"

#include <cstdlib>

#include <xcb/xcb.h>
// Xlib last: its macros clash with Qt's names. Only for legacy compound-text titles.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::x11 {

namespace {

QString fromCompoundText(const char* bytes, int length, uint32_t encoding) {
    Display* d = x11::display();
    if (!d)
        return QString::fromLatin1(bytes, length);
    XTextProperty text{};
    text.value = reinterpret_cast<unsigned char*>(const_cast<char*>(bytes));
    text.encoding = encoding;
    text.format = 8;
    text.nitems = static_cast<unsigned long>(length);
    char** list = nullptr;
    int count = 0;
    QString title;
    if (Xutf8TextPropertyToTextList(d, &text, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i)
            title += QString::fromUtf8(list[i]);
        XFreeStringList(list);
    } else {
        title = QString::fromLatin1(bytes, length);
    }
    return title;
}

} // namespace

unsigned int askName(xcb_connection_t* c, uint32_t window, uint32_t property) {
    return xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, nameLength).sequence;
}

unsigned int askTree(xcb_connection_t* c, uint32_t window) { return xcb_query_tree(c, window).sequence; }

Name takeName(xcb_connection_t* c, unsigned int sequence, uint32_t utf8, uint32_t compound, QString& title) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, xcb_get_property_cookie_t{sequence}, &error);
    if (error || !reply) {
        std::free(error);
        std::free(reply);
        return Name::Gone;
    }
    const int length = xcb_get_property_value_length(reply);
    Name result = Name::Absent;
    if (reply->type != XCB_NONE && reply->format == 8 && length > 0) {
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
        if (reply->type == XCB_ATOM_STRING)
            title = QString::fromLatin1(bytes, length);
        else if (reply->type == compound)
            title = fromCompoundText(bytes, length, compound);
        else if (reply->type == utf8)
            title = QString::fromUtf8(bytes, length);
        else
            title = QString::fromLocal8Bit(bytes, length);
        result = Name::Found;
    }
    std::free(reply);
    return result;
}

xcb_query_tree_reply_t* takeTree(xcb_connection_t* c, unsigned int sequence) {
    xcb_generic_error_t* error = nullptr;
    xcb_query_tree_reply_t* reply = xcb_query_tree_reply(c, xcb_query_tree_cookie_t{sequence}, &error);
    std::free(error);
    return reply;
}

} // namespace platform::x11
