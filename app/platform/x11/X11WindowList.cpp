#include "X11WindowList.h"

#include "X11WindowReplies.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <xcb/xcb.h>

namespace platform {

using x11::askName;
using x11::askTree;
using x11::Name;
using x11::takeName;
using x11::takeTree;

namespace {

constexpr uint32_t clientListLength = 1u << 16;
// How deep inside a frame the client window may sit.
constexpr int maxFrameDepth = 2;

} // namespace

bool X11WindowList::isClient(uint32_t window) const {
    return std::binary_search(m_clients.begin(), m_clients.end(), window);
}

void X11WindowList::walk(std::vector<Entry>& out) {
    m_requests = {};
    if (!connect() || xcb_connection_has_error(m_c)) {
        out.clear();
        return;
    }
    ++m_walkNumber;
    drainEvents(false);

    // The root's children, and the window manager's client list when it changed.
    const unsigned int treeSeq = askTree(m_c, m_root);
    const bool readClients = !m_clientsValid || !m_ownConnection;
    const unsigned int clientsSeq =
        readClients
            ? xcb_get_property(m_c, 0, m_root, m_netClientList, XCB_ATOM_WINDOW, 0, clientListLength).sequence
            : 0;
    m_requests = {1, readClients ? 1 : 0, 1};
    xcb_query_tree_reply_t* tree = takeTree(m_c, treeSeq);
    if (readClients) {
        xcb_get_property_reply_t* clients =
            xcb_get_property_reply(m_c, xcb_get_property_cookie_t{clientsSeq}, nullptr);
        m_clients.clear();
        if (clients && clients->format == 32) {
            const auto* ids = static_cast<const uint32_t*>(xcb_get_property_value(clients));
            m_clients.assign(ids, ids + xcb_get_property_value_length(clients) / 4);
            std::sort(m_clients.begin(), m_clients.end());
        }
        std::free(clients);
        m_clientsValid = m_ownConnection;
    }
    // What the server said changed before it answered is applied before any title is used.
    drainEvents(true);
    if (!tree) {
        out.clear();
        return;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree);
    const int n = xcb_query_tree_children_length(tree);
    // The tree lists the bottom window first; the walk goes from the top.
    m_slots.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Slot& s = m_slots[static_cast<size_t>(i)];
        s.window = children[n - 1 - i];
        s.gone = s.resolved = s.byClientList = false;
        s.probeBegin = s.probeEnd = s.candBegin = s.candEnd = 0;
        s.titled = 0;
        s.title = QString();
        if (m_ownConnection) {
            if (auto it = m_known.find(s.window); it != m_known.end()) {
                it->second.seen = m_walkNumber;
                if (it->second.valid) {
                    s.titled = it->second.titled;
                    s.title = it->second.title;
                    s.resolved = true;
                }
            }
        }
    }
    std::free(tree);

    // Titles not known yet: the window's own name first; frames have none, and the
    // client's name is inside, usually one level down, where the client list tells the
    // client from the decorations.
    readRootChildNames();
    for (int depth = 0; depth < maxFrameDepth && lookInside(depth == 0); ++depth) {
        readCandidateNames(m_netWmName);
        readCandidateNames(XCB_ATOM_WM_NAME);
        // Still unresolved: one level deeper, unless the client list named its client (a
        // client without a name stays untitled).
        m_probes.clear();
        for (Slot& s : m_slots) {
            if (s.resolved)
                continue;
            if (s.byClientList || s.candBegin == s.candEnd) {
                if (s.byClientList)
                    s.titled = m_candidates[static_cast<size_t>(s.candBegin)];
                s.resolved = true;
                continue;
            }
            s.probeBegin = static_cast<int>(m_probes.size());
            m_probes.insert(m_probes.end(), m_candidates.begin() + s.candBegin, m_candidates.begin() + s.candEnd);
            s.probeEnd = static_cast<int>(m_probes.size());
        }
    }
    if (m_ownConnection) {
        remember();
        xcb_flush(m_c); // the last batch of watch requests
    }

    size_t kept = 0;
    out.resize(m_slots.size());
    for (Slot& s : m_slots) {
        if (s.gone)
            continue;
        Entry& e = out[kept++];
        e.title = std::move(s.title);
        const uint32_t id = s.titled ? s.titled : s.window;
        e.id = id;
        e.ownWindow = (id & ~m_ownMask) == m_ownBase;
    }
    out.resize(kept);
}

// Keeps what this walk read, and forgets the windows that are no longer there.
void X11WindowList::remember() {
    bool forgot = false;
    for (const Slot& s : m_slots) {
        if (s.gone) {
            forgot = m_known.erase(s.window) > 0 || forgot;
            continue;
        }
        Known& k = m_known[s.window];
        if (k.valid && k.seen == m_walkNumber)
            continue; // came from what was kept
        k.titled = s.titled ? s.titled : s.window;
        k.title = s.title;
        k.valid = true;
        k.seen = m_walkNumber;
    }
    m_stale.clear();
    for (const auto& [window, k] : m_known) {
        if (k.seen != m_walkNumber)
            m_stale.push_back(window);
    }
    for (uint32_t window : m_stale)
        m_known.erase(window);
    if (forgot || !m_stale.empty()) {
        for (auto it = m_rootOfTitled.begin(); it != m_rootOfTitled.end();)
            it = m_known.count(it->second) ? std::next(it) : m_rootOfTitled.erase(it);
    }
}

// The own names of the root's children that are not known yet, in one batch; each is
// watched for changes first, so no change between the watch and the read goes unseen.
void X11WindowList::readRootChildNames() {
    const size_t n = m_slots.size();
    m_nameCookies.resize(n);
    int asked = 0;
    for (size_t i = 0; i < n; ++i) {
        Slot& s = m_slots[i];
        if (s.resolved)
            continue;
        if (m_ownConnection)
            watch(s.window, XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
        m_nameCookies[i] = askName(m_c, s.window, m_netWmName);
        ++asked;
    }
    m_probes.clear();
    if (asked == 0)
        return;
    m_requests.propertyReads += asked;
    ++m_requests.batches;
    for (size_t i = 0; i < n; ++i) {
        Slot& s = m_slots[i];
        if (s.resolved)
            continue;
        switch (takeName(m_c, m_nameCookies[i], m_utf8String, m_compoundText, s.title)) {
        case Name::Found:
            s.titled = s.window;
            s.resolved = true;
            break;
        case Name::Gone:
            s.gone = s.resolved = true;
            break;
        case Name::Absent:
            s.probeBegin = static_cast<int>(m_probes.size());
            m_probes.push_back(s.window);
            s.probeEnd = static_cast<int>(m_probes.size());
            break;
        }
    }
}

// One batch of tree queries for the nameless windows (on the first level together with
// their legacy names); their children become the candidates whose names are read next.
// False when there is nothing to look into.
bool X11WindowList::lookInside(bool firstLevel) {
    if (m_probes.empty())
        return false;
    m_treeCookies.resize(m_probes.size());
    if (firstLevel)
        m_nameCookies.resize(m_probes.size());
    for (size_t k = 0; k < m_probes.size(); ++k) {
        if (firstLevel)
            m_nameCookies[k] = askName(m_c, m_probes[k], XCB_ATOM_WM_NAME);
        m_treeCookies[k] = askTree(m_c, m_probes[k]);
    }
    m_requests.treeQueries += static_cast<int>(m_probes.size());
    if (firstLevel)
        m_requests.propertyReads += static_cast<int>(m_probes.size());
    ++m_requests.batches;

    m_candidates.clear();
    for (Slot& s : m_slots) {
        if (s.probeBegin == s.probeEnd)
            continue;
        s.candBegin = static_cast<int>(m_candidates.size());
        bool client = false;
        for (int k = s.probeBegin; k < s.probeEnd; ++k) {
            const auto K = static_cast<size_t>(k);
            if (firstLevel) {
                const Name name = takeName(m_c, m_nameCookies[K], m_utf8String, m_compoundText, s.title);
                if (name == Name::Found) {
                    s.titled = s.window;
                    s.resolved = true;
                } else if (name == Name::Gone) {
                    s.gone = s.resolved = true;
                }
            }
            xcb_query_tree_reply_t* tree = takeTree(m_c, m_treeCookies[K]);
            if (!tree)
                continue;
            const xcb_window_t* kids = xcb_query_tree_children(tree);
            const int count = xcb_query_tree_children_length(tree);
            for (int i = count; i-- > 0 && !s.resolved && !client;) {
                if (isClient(kids[i])) {
                    // The client list tells the client from the decorations.
                    m_candidates.resize(static_cast<size_t>(s.candBegin));
                    m_candidates.push_back(kids[i]);
                    client = true;
                } else {
                    m_candidates.push_back(kids[i]);
                }
            }
            std::free(tree);
        }
        s.probeBegin = s.probeEnd = 0;
        if (s.resolved)
            m_candidates.resize(static_cast<size_t>(s.candBegin));
        s.candEnd = static_cast<int>(m_candidates.size());
        s.byClientList = client;
        if (s.candBegin == s.candEnd && !s.resolved) {
            s.titled = s.window; // nothing inside: an untitled window
            s.resolved = true;
        }
    }
    return true;
}

// One batch of name reads for the candidates of the unresolved windows; the first
// candidate from the top that has a name gives the title.
void X11WindowList::readCandidateNames(uint32_t property) {
    int asked = 0;
    m_nameCookies.resize(m_candidates.size());
    for (const Slot& s : m_slots) {
        if (s.resolved)
            continue;
        for (int k = s.candBegin; k < s.candEnd; ++k) {
            const uint32_t w = m_candidates[static_cast<size_t>(k)];
            if (m_ownConnection && property == m_netWmName) {
                // A name that appears or changes on any of them brings the window up again.
                watch(w, XCB_EVENT_MASK_PROPERTY_CHANGE);
                m_rootOfTitled[w] = s.window;
            }
            m_nameCookies[static_cast<size_t>(k)] = askName(m_c, w, property);
            ++asked;
        }
    }
    if (asked == 0)
        return;
    m_requests.propertyReads += asked;
    ++m_requests.batches;
    QString title;
    for (Slot& s : m_slots) {
        if (s.resolved)
            continue;
        bool found = false;
        for (int k = s.candBegin; k < s.candEnd; ++k) {
            const auto K = static_cast<size_t>(k);
            if (takeName(m_c, m_nameCookies[K], m_utf8String, m_compoundText, title) == Name::Found && !found) {
                s.title = std::move(title);
                s.titled = m_candidates[K];
                found = true;
            }
            title = QString();
        }
        s.resolved = found;
    }
}

QStringList X11WindowList::titles() {
    std::vector<Entry> entries;
    walk(entries);
    QStringList result;
    result.reserve(static_cast<qsizetype>(entries.size()));
    for (Entry& e : entries)
        result << std::move(e.title);
    return result;
}

} // namespace platform
