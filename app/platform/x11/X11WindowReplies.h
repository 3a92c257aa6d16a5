#pragma once

#include <QString>

#include <cstdint>

struct xcb_connection_t;
struct xcb_query_tree_reply_t;

// Requests of the window walk whose replies are collected later, so a batch of them costs
// one round trip.
namespace platform::x11 {

enum class Name { Found, Absent, Gone };

// In 32-bit units: titles up to 4 KiB are read whole, longer ones are cut.
constexpr uint32_t nameLength = 1024;

unsigned int askName(xcb_connection_t* c, uint32_t window, uint32_t property);
unsigned int askTree(xcb_connection_t* c, uint32_t window);
// The reply of a name read: the desktop's UTF-8 names, the legacy Latin-1 and compound
// text ones. A window that vanished answers with an error.
Name takeName(xcb_connection_t* c, unsigned int sequence, uint32_t utf8, uint32_t compound, QString& title);
// A tree reply (to be freed), or nullptr when the window vanished.
xcb_query_tree_reply_t* takeTree(xcb_connection_t* c, unsigned int sequence);

} // namespace platform::x11
