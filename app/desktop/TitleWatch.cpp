#include "TitleWatch.h"

#include "core/AppContext.h"
#include "core/Form.h"
#include "platform/Platform.h"

#include <QComboBox>
#include <QStringListModel>

TitleWatch::TitleWatch(Form& main) : QObject(&main), m_main(main) {
    m_combo = main.control<QComboBox>(QStringLiteral("Combo1"));
    if (m_combo) {
        // A string-list model takes a whole walk in one reset.
        m_model = new QStringListModel(m_combo);
        m_combo->setModel(m_model);
    }
}

void TitleWatch::FindTitle() {
    m_main.ctx().platform.windows.walk(m_walk);
    m_next.clear();
    m_nextOwn.clear();
    for (const platform::WindowList::Entry& e : m_walk) {
        if (!e.title.isEmpty()) {
            m_next << e.title;
            m_nextOwn.push_back(e.ownWindow);
        }
    }
    // Rebuilding the list with what it already holds would change nothing.
    if (m_next == m_titles && m_nextOwn == m_own)
        return;
    m_titles.swap(m_next);
    m_own.swap(m_nextOwn);
    if (m_model)
        m_model->setStringList(m_titles);
    m_seenValid = false;
}

void TitleWatch::titleScan() {
    FindTitle();
    matchCollected();
}

void TitleWatch::matchCollected() {
    if (!m_seenValid) {
        m_seen = titles::matchAll(m_titles, m_own);
        m_seenValid = true;
    }
    AppState& s = m_main.ctx().state;
    s.slideShowSeen = m_seen.slideShow;
    s.presentationSeen = m_seen.presentation;
}
