#pragma once
// The name patterns of searches: "*" any run of characters, "?" any one character, "#" any one
// digit, "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a set; "[*]", "[?]", "[#]"
// and "[[]" stand for the character itself. Letters compare without regard to case, in every
// script. What cannot be read as a pattern (an unclosed "[", an empty or reversed set) is taken
// literally, so no text a person types is an error.
#include <QRegularExpression>
#include <QString>
#include <string>

class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    // True when the whole of `text` matches.
    bool matches(QStringView text) const;
    // The same for UTF-8 text, as the database holds it; plain ASCII searches of ASCII names
    // (nearly every search of nearly every name) skip the conversion and the expression.
    bool matchesUtf8(const char* text, qsizetype size) const;

private:
    QRegularExpression rx;
    bool plain = false; // nothing but ASCII characters between the open ends
    std::string needle; // those characters in small letters
    bool openStart = false;
    bool openEnd = false;
};
