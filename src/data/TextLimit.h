#pragma once
// Texts cut to the length a field holds, never through the middle of a character: an emoji takes
// two UTF-16 units, an accented letter may be a letter and a combining mark, and half of either
// is no character.
#include <QString>
#include <QTextBoundaryFinder>

// The first `n` UTF-16 units of `text`, less a last character that would be cut apart.
inline QString cutText(const QString& text, qsizetype n) {
    if (text.size() <= n)
        return text;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    characters.setPosition(n);
    if (!characters.isAtBoundary())
        characters.toPreviousBoundary();
    return text.left(std::max<qsizetype>(characters.position(), 0));
}
