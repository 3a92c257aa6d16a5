#pragma once

#include "platform/WindowList.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct xcb_connection_t;
class QSocketNotifier;

namespace platform {

// The walk over the root window's children in the desktop's stacking order, with the
// titles of windows a window manager has wrapped in frames taken from the clients inside.
//
// It keeps a connection of its own to the X server and asks to be told when a title
// changes (property-change events on every titled window, and changes of the children of
// each frame), so a title read once is read again only after the server said it changed.
// Each walk then costs one tree query of the root, plus reads for the windows that are
// new or changed; requests go out in batches and their replies are collected afterwards,
// so even a desktop full of new windows costs only a few round trips. The events that the
// server sent before the tree's reply are applied before the titles are used, so a walk
// is exactly as fresh as reading every title again.
class X11WindowList : public WindowList {
public:
    enum class Mode {
        Watching, // keeps titles between walks, told of changes by the server
        Reading   // reads every title on every walk (for comparison)
    };
    explicit X11WindowList(Mode mode = Mode::Watching);
    ~X11WindowList() override;

    QStringList titles() override;
    void walk(std::vector<Entry>& out) override;

    // What the last walk asked of the X server.
    struct Requests {
        int treeQueries = 0;
        int propertyReads = 0;
        int batches = 0; // round trips
    };
    const Requests& lastWalk() const { return m_requests; }

private:
    struct Slot {
        uint32_t window = 0;   // child of the root
        uint32_t titled = 0;   // the window whose name was taken (the client inside a frame)
        bool gone = false;     // vanished during the walk
        bool resolved = false; // has its title, or has none
        bool byClientList = false;
        int probeBegin = 0, probeEnd = 0; // nameless windows to look inside, in m_probes
        int candBegin = 0, candEnd = 0;   // windows whose names to read, in m_candidates
        QString title;
    };
    struct Known {
        uint32_t titled = 0;
        QString title;
        bool valid = false;
        unsigned int seen = 0; // walk number
    };

    bool connect();
    void drainEvents(bool queuedOnly);
    void invalidate(uint32_t window);
    void watch(uint32_t window, uint32_t mask);
    bool isClient(uint32_t window) const;
    void readRootChildNames();
    bool lookInside(bool firstLevel);
    void readCandidateNames(uint32_t property);
    void remember();

    const Mode m_mode;
    xcb_connection_t* m_c = nullptr;
    bool m_ownConnection = false;
    bool m_failed = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    uint32_t m_root = 0;
    uint32_t m_netWmName = 0, m_utf8String = 0, m_compoundText = 0, m_netClientList = 0;
    // Windows made by this program's own connection carry its resource base.
    uint32_t m_ownBase = 0, m_ownMask = 0;

    // Titles of the root's children as last read, and which window carries each title.
    std::unordered_map<uint32_t, Known> m_known;
    std::unordered_map<uint32_t, uint32_t> m_rootOfTitled;
    unsigned int m_walkNumber = 0;
    bool m_clientsValid = false;

    // Kept between walks so a walk does not allocate once the desktop has settled.
    std::vector<Slot> m_slots;
    std::vector<uint32_t> m_clients; // sorted
    std::vector<uint32_t> m_probes, m_candidates;
    std::vector<unsigned int> m_treeCookies, m_nameCookies;
    std::vector<uint32_t> m_stale;
    Requests m_requests;
};

} // namespace platform
