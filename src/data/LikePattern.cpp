#include "LikePattern.h"

#include <algorithm>
#include <string_view>

namespace {

QString codePoint(char32_t c) {
    return QStringLiteral("\\x{") + QString::number(uint(c), 16) + u'}';
}

// The class for the set that starts after the "[" at `open`, or an empty string when the set
// is not one (no "]", nothing in it, a reversed range). `end` is set to the closing "]".
QString characterClass(const QList<uint>& cps, qsizetype open, qsizetype& end) {
    qsizetype i = open + 1;
    bool negated = false;
    if (i < cps.size() && cps[i] == U'!' && i + 1 < cps.size() && cps[i + 1] != U']') {
        negated = true;
        ++i;
    }
    QString members;
    for (; i < cps.size() && cps[i] != U']'; ++i) {
        const char32_t lo = cps[i];
        if (i + 2 < cps.size() && cps[i + 1] == U'-' && cps[i + 2] != U']') {
            const char32_t hi = cps[i + 2];
            if (hi < lo)
                return {};
            members += codePoint(lo) + u'-' + codePoint(hi);
            i += 2;
        } else {
            members += codePoint(lo);
        }
    }
    if (i >= cps.size() || members.isEmpty())
        return {};
    end = i;
    return (negated ? QStringLiteral("[^") : QStringLiteral("[")) + members + u']';
}

} // namespace

LikePattern::LikePattern(const QString& pattern) {
    QList<uint> cps = pattern.toUcs4();
    // A "*" at either end becomes an open end of the search rather than a ".*" the engine would
    // try at every position: "*apple*" is a plain search for "apple".
    openStart = !cps.isEmpty() && cps.front() == U'*';
    openEnd = !cps.isEmpty() && cps.back() == U'*';
    while (!cps.isEmpty() && cps.front() == U'*')
        cps.removeFirst();
    while (!cps.isEmpty() && cps.back() == U'*')
        cps.removeLast();
    plain = std::all_of(cps.begin(), cps.end(), [](uint c) {
        return c < 0x80 && c != U'*' && c != U'?' && c != U'#' && c != U'[';
    });
    for (uint c : cps)
        needle += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    QString out = openStart ? QString() : QStringLiteral("\\A");
    for (qsizetype i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        if (c == U'*') {
            out += QStringLiteral(".*");
        } else if (c == U'?') {
            out += u'.';
        } else if (c == U'#') {
            out += QStringLiteral("[0-9]");
        } else if (c == U'[') {
            qsizetype end = i;
            const QString set = characterClass(cps, i, end);
            out += set.isEmpty() ? codePoint(c) : set;
            i = end;
        } else {
            out += codePoint(c); // never an escape that could run into the next character
        }
    }
    if (!openEnd)
        out += QStringLiteral("\\z");
    rx.setPattern(out);
    rx.setPatternOptions(QRegularExpression::CaseInsensitiveOption |
                         QRegularExpression::DotMatchesEverythingOption);
    rx.optimize();
}

bool LikePattern::matches(QStringView text) const {
    return rx.match(text).hasMatch();
}

bool LikePattern::matchesUtf8(const char* text, qsizetype size) const {
    if (!plain)
        return matches(QString::fromUtf8(text, size));
    thread_local std::string folded;
    folded.resize(size_t(size));
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        if (c & 0x80) // beyond ASCII: letters fold by the Unicode rules
            return matches(QString::fromUtf8(text, size));
        folded[size_t(i)] = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
    }
    const std::string_view t(folded);
    if (openStart && openEnd)
        return t.find(needle) != std::string_view::npos;
    if (openEnd)
        return t.starts_with(needle);
    if (openStart)
        return t.ends_with(needle);
    return t == needle;
}
