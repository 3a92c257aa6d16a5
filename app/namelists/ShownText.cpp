#include "ShownText.h"

namespace namelists {

namespace {
bool isDirectionControl(char32_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}
} // namespace

QString shownText(const QString& cellText) {
    QString out;
    qsizetype start = -1; // first non-blank in out
    out.reserve(std::min<qsizetype>(cellText.size(), kShownTextLimit * 2));
    for (qsizetype i = 0; i < cellText.size(); ++i) {
        const QChar c = cellText[i];
        if (isDirectionControl(c.unicode()))
            continue;
        const auto cat = c.category();
        if (cat == QChar::Other_Control || cat == QChar::Separator_Line || cat == QChar::Separator_Paragraph)
            out += u' ';
        else if (c.isSurrogate() && !(c.isHighSurrogate() && i + 1 < cellText.size() &&
                                      cellText[i + 1].isLowSurrogate()) &&
                 !(c.isLowSurrogate() && i > 0 && cellText[i - 1].isHighSurrogate()))
            out += QChar(QChar::ReplacementCharacter); // a broken pair would not render
        else
            out += c;
        if (start < 0 && !out.isEmpty() && out.back() != u' ')
            start = out.size() - 1;
        // Enough read: the text is cut in any case and its start is known.
        if (start >= 0 && out.size() - start > kShownTextLimit && out.back() != u' ')
            break;
    }
    qsizetype first = 0, last = out.size();
    while (first < last && out[first] == u' ')
        ++first;
    while (last > first && out[last - 1] == u' ')
        --last;
    out = out.mid(first, last - first);
    if (out.size() > kShownTextLimit) {
        qsizetype cut = kShownTextLimit - 1;
        if (out[cut - 1].isHighSurrogate())
            --cut;
        out = out.left(cut) + QChar(0x2026);
    }
    return out;
}

} // namespace namelists
