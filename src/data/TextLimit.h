#pragma once
// Texts cut to the length a field holds, never through the middle of a character: a character
// beyond the basic plane (an emoji) takes two UTF-16 units, and half of one is no character.
#include <QString>

// The first `n` UTF-16 units of `text`, less a last character that would be cut in half.
inline QString CutText(const QString& text, qsizetype n) {
    if (text.size() <= n)
        return text;
    QString cut = text.left(n);
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.chop(1);
    return cut;
}
