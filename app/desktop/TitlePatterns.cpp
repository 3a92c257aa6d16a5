#include "TitlePatterns.h"

namespace titles {

Seen match(const QString& title) {
    const QString upper = title.toUpper();
    Seen seen;
    seen.slideShow = upper.contains(slideShowLiteral);
    for (const QString& prefix : impressShowPrefixes)
        seen.slideShow = seen.slideShow || upper.startsWith(prefix);
    seen.presentation = upper.contains(presentationLiteral) || upper.contains(impressLiteral);
    return seen;
}

Seen matchAll(const QStringList& titles, const std::vector<bool>& own) {
    Seen all;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        if (static_cast<size_t>(i) < own.size() && own[static_cast<size_t>(i)])
            continue;
        const Seen one = match(titles[i]);
        all.slideShow = all.slideShow || one.slideShow;
        all.presentation = all.presentation || one.presentation;
    }
    return all;
}

} // namespace titles
