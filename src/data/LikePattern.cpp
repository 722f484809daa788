#include "LikePattern.h"

namespace {

QString literal(char32_t c) {
    return QRegularExpression::escape(QString::fromUcs4(&c, 1));
}

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
    const QList<uint> cps = pattern.toUcs4();
    QString out;
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
            out += set.isEmpty() ? literal(c) : set;
            i = end;
        } else {
            out += literal(c);
        }
    }
    rx.setPattern(QRegularExpression::anchoredPattern(out));
    rx.setPatternOptions(QRegularExpression::CaseInsensitiveOption |
                         QRegularExpression::DotMatchesEverythingOption);
    rx.optimize();
}

bool LikePattern::matches(QStringView text) const {
    return rx.match(text).hasMatch();
}
