#pragma once

#include "TitlePatterns.h"

#include "platform/WindowList.h"

#include <QObject>
#include <QStringList>
#include <vector>

class Form;
class QComboBox;
class QStringListModel;

// The slide-show watch of the main window: FindTitle collects every titled top-level
// window into the hidden Combo1, titleScan sets slideShowSeen and presentationSeen from
// them.
class TitleWatch : public QObject {
    Q_OBJECT
public:
    explicit TitleWatch(Form& main);

    // Empties Combo1 and fills it with the titles of all top-level windows that have one,
    // in the desktop's window order.
    void FindTitle();
    // FindTitle, then the two flags from the collected titles.
    void titleScan();
    // The flags from the titles the last FindTitle collected, without collecting again.
    void matchCollected();

    QStringList collected() const { return m_titles; }

private:
    Form& m_main;
    QComboBox* m_combo = nullptr;
    QStringListModel* m_model = nullptr;
    std::vector<platform::WindowList::Entry> m_walk;
    // What Combo1 holds, with each title marked when it is one of the program's windows.
    QStringList m_titles, m_next;
    std::vector<bool> m_own, m_nextOwn;
    // The flags of m_titles; the titles seldom change between ticks.
    titles::Seen m_seen;
    bool m_seenValid = false;
};
