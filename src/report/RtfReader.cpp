#include "RtfReader.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// Longer control words than this exist in no RTF; the rest of the letters are still consumed.
constexpr int kMaxWordLength = 32;
// Parameters are at most 10 digits in RTF; larger ones saturate instead of overflowing.
constexpr qint64 kMaxParameter = 9'999'999'999;

struct State {
    bool bold = false;
    bool underline = false;
    double pointSize = 0;
    int unicodeSkip = 1; // characters after \uN that stand in for it in older readers
};

// Plain text: everything but the marks of groups and escapes, controls and surrogate halves.
bool ordinary(char16_t c) {
    return c >= 0x20 && c != u'{' && c != u'}' && c != u'\\' && !QChar::isSurrogate(c);
}

class Parser {
public:
    Parser(QStringView rtf, RtfSink& sink) : s_(rtf), sink_(sink) {}

    void run() {
        while (pos_ < s_.size()) {
            const char16_t c = s_[pos_].unicode();
            if (ordinary(c)) {
                // A whole stretch of plain text at once: the report is mostly that.
                qsizetype end = pos_ + 1;
                while (end < s_.size() && ordinary(s_[end].unicode()))
                    ++end;
                flushSurrogate();
                put(s_.sliced(pos_, end - pos_));
                pos_ = end;
                continue;
            }
            ++pos_;
            if (c == u'{') {
                stack_.append(state_);
            } else if (c == u'}') {
                // A stray closing brace has nothing to close; the text goes on as it is.
                if (!stack_.isEmpty())
                    state_ = stack_.takeLast();
            } else if (c == u'\\') {
                escape();
            } else {
                unit(c);
            }
        }
        flushSurrogate();
        flushRun();
    }

private:
    bool atLetter() const {
        if (pos_ >= s_.size())
            return false;
        const char16_t c = s_[pos_].unicode();
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    }
    bool atDigit() const {
        return pos_ < s_.size() && s_[pos_].unicode() >= u'0' && s_[pos_].unicode() <= u'9';
    }

    // Reads a control word's letters, its optional signed number and the one delimiting blank.
    QString word(bool* hasParameter, qint64* parameter) {
        const qsizetype start = pos_;
        while (atLetter())
            ++pos_;
        QString name = s_.sliced(start, qMin<qsizetype>(pos_ - start, kMaxWordLength)).toString();
        *hasParameter = false;
        *parameter = 0;
        bool negative = false;
        if (pos_ + 1 < s_.size() && s_[pos_] == u'-') {
            ++pos_;
            negative = atDigit();
            if (!negative)
                --pos_; // a lone minus is text, not part of the word
        }
        while (atDigit()) {
            *hasParameter = true;
            *parameter = qMin(*parameter * 10 + (s_[pos_].unicode() - u'0'), kMaxParameter);
            ++pos_;
        }
        if (negative)
            *parameter = -*parameter;
        if (pos_ < s_.size() && s_[pos_] == u' ')
            ++pos_;
        return name;
    }

    void escape() {
        if (pos_ >= s_.size())
            return;
        if (atLetter()) {
            bool has = false;
            qint64 n = 0;
            const QString name = word(&has, &n);
            controlWord(name, has, n);
            return;
        }
        const char16_t c = s_[pos_++].unicode();
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            unit(c);
            break;
        case u'~':
            unit(0x00A0);
            break;
        case u'_':
            unit(0x2011);
            break;
        case u'\'':
            if (const int v = hex(); v >= 0)
                unit(static_cast<char16_t>(v));
            break;
        case u'\n':
        case u'\r':
            paragraph();
            break;
        default:
            break; // \* \- and the like change nothing here
        }
    }

    // Two hex digits after \' ; -1 (and nothing consumed beyond them) when they are not there.
    int hex() {
        if (pos_ + 2 > s_.size())
            return -1;
        bool ok = false;
        const int v = s_.sliced(pos_, 2).toInt(&ok, 16);
        if (!ok || v < 0)
            return -1;
        pos_ += 2;
        return v;
    }

    void controlWord(const QString& name, bool has, qint64 n) {
        if (name == u"par" || name == u"line") {
            paragraph();
        } else if (name == u"tab") {
            unit(u'\t');
        } else if (name == u"b") {
            state_.bold = !has || n != 0;
        } else if (name == u"ul") {
            state_.underline = !has || n != 0;
        } else if (name == u"ulnone") {
            state_.underline = false;
        } else if (name == u"plain") {
            state_.bold = state_.underline = false;
            state_.pointSize = 0;
        } else if (name == u"fs") {
            // Half points; absurd sizes are ignored rather than laid out.
            if (has && n > 0 && n <= 3276)
                state_.pointSize = static_cast<double>(n) / 2.0;
        } else if (name == u"uc") {
            if (has && n >= 0 && n <= 8)
                state_.unicodeSkip = static_cast<int>(n);
        } else if (name == u"u" && has) {
            // A signed 16-bit code unit; negative values stand for the upper half.
            const qint64 v = n < 0 ? n + 65536 : n;
            unit(v >= 0 && v <= 0xFFFF ? static_cast<char16_t>(v) : kReplacement);
            skipFallback();
        }
    }

    // Skips the characters that older readers show instead of a \uN character.
    void skipFallback() {
        for (int left = state_.unicodeSkip; left > 0 && pos_ < s_.size(); --left) {
            const char16_t c = s_[pos_].unicode();
            if (c == u'{' || c == u'}')
                return;
            ++pos_;
            if (c != u'\\' || pos_ >= s_.size())
                continue;
            if (atLetter()) {
                bool has = false;
                qint64 n = 0;
                word(&has, &n);
            } else if (s_[pos_++] == u'\'') {
                hex();
            }
        }
    }

    void paragraph() {
        flushSurrogate();
        flushRun();
        sink_.paragraphEnd();
    }

    // One UTF-16 code unit of text: surrogate pairs are joined, halves alone become U+FFFD.
    void unit(char16_t u) {
        if (QChar::isLowSurrogate(u)) {
            if (high_) {
                const QChar pair[] = {QChar(high_), QChar(u)};
                put(QStringView(pair, 2));
                high_ = 0;
            } else {
                putUnit(kReplacement);
            }
            return;
        }
        flushSurrogate();
        if (QChar::isHighSurrogate(u)) {
            high_ = u;
        } else if (u >= 0x20 || u == u'\t') {
            putUnit(u); // raw line ends and other controls are not text in RTF
        }
    }

    void flushSurrogate() {
        if (high_)
            putUnit(kReplacement);
        high_ = 0;
    }

    void putUnit(char16_t u) {
        const QChar c(u);
        put(QStringView(&c, 1));
    }

    // Text is gathered while the emphasis stays the same and handed on when it changes.
    void put(QStringView text) {
        if (!run_.isEmpty() && !sameEmphasis(runState_, state_))
            flushRun();
        runState_ = state_;
        run_ += text;
    }

    static bool sameEmphasis(const State& a, const State& b) {
        return a.bold == b.bold && a.underline == b.underline && a.pointSize == b.pointSize;
    }

    void flushRun() {
        if (run_.isEmpty())
            return;
        sink_.text(run_, runState_.bold, runState_.underline, runState_.pointSize);
        run_.clear(); // keeps its capacity for the next stretch
    }

    QStringView s_;
    RtfSink& sink_;
    qsizetype pos_ = 0;
    State state_;
    QList<State> stack_;
    QString run_;
    State runState_;
    char16_t high_ = 0;
};

// Collects the paragraphs as lists of runs.
class ParagraphList : public RtfSink {
public:
    void text(QStringView text, bool bold, bool underline, double pointSize) override {
        paragraphs.last().append(RtfRun{text.toString(), bold, underline, pointSize});
    }
    void paragraphEnd() override { paragraphs.append(RtfParagraph{}); }
    QList<RtfParagraph> paragraphs{RtfParagraph{}};
};

} // namespace

void parseRtf(QStringView rtf, RtfSink& sink) {
    Parser(rtf, sink).run();
}

QList<RtfParagraph> parseRtf(QStringView rtf) {
    ParagraphList list;
    parseRtf(rtf, list);
    return std::move(list.paragraphs);
}

QFont reportBaseFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    return font;
}
