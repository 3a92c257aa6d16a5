#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// All top-level windows of the desktop, of every process, hidden ones included, in the
// desktop's stacking order from the top; their titles (empty for untitled windows).
// Windows that vanish during the walk are skipped or end it quietly.
class WindowList {
public:
    struct Entry {
        QString title;
        // The window that carries the title (the client inside a frame); 0 when unknown.
        quint64 id = 0;
        // The window belongs to this program; the title watch ignores it.
        bool ownWindow = false;
    };

    virtual ~WindowList() = default;
    virtual QStringList titles() = 0;

    // The same walk with each window marked as this program's or not. Fills `out`,
    // reusing its storage, since the poll walks ten times a second.
    virtual void walk(std::vector<Entry>& out) {
        const QStringList all = titles();
        out.resize(static_cast<size_t>(all.size()));
        for (qsizetype i = 0; i < all.size(); ++i)
            out[static_cast<size_t>(i)] = {all[i], 0, false};
    }
};

} // namespace platform
