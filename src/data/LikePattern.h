#pragma once
// The name patterns of searches: "*" any run of characters, "?" any one character, "#" any one
// digit, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a set; "[*]", "[?]", "[#]"
// and "[[]" stand for the character itself. Letters compare without regard to case, in every
// script. What cannot be read as a pattern (an unclosed "[", an empty or reversed set) is taken
// literally, so no text a person types is an error.
#include <QRegularExpression>
#include <QString>

class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    // True when the whole of `text` matches.
    bool matches(QStringView text) const;

private:
    QRegularExpression rx;
};
