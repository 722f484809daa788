#include "RtfReader.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

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

class Parser {
public:
    explicit Parser(QStringView rtf) : s_(rtf) {}

    QList<RtfParagraph> run() {
        while (pos_ < s_.size()) {
            const char16_t c = s_[pos_++].unicode();
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
        return out_;
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
        const QString name =
            s_.sliced(start, qMin<qsizetype>(pos_ - start, kMaxWordLength)).toString();
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
        out_.append(RtfParagraph{});
    }

    // One UTF-16 code unit of text: surrogate pairs are joined, halves alone become U+FFFD.
    void unit(char16_t u) {
        if (QChar::isLowSurrogate(u)) {
            if (high_) {
                const QChar pair[] = {QChar(high_), QChar(u)};
                put(QString(pair, 2));
                high_ = 0;
            } else {
                put(QString(QChar(kReplacement)));
            }
            return;
        }
        flushSurrogate();
        if (QChar::isHighSurrogate(u)) {
            high_ = u;
        } else if (u >= 0x20 || u == u'\t') {
            put(QString(QChar(u))); // raw line ends and other controls are not text in RTF
        }
    }

    void flushSurrogate() {
        if (high_)
            put(QString(QChar(kReplacement)));
        high_ = 0;
    }

    void put(const QString& text) {
        RtfParagraph& p = out_.last();
        if (!p.isEmpty() && p.last().bold == state_.bold &&
            p.last().underline == state_.underline && p.last().pointSize == state_.pointSize) {
            p.last().text += text;
            return;
        }
        p.append(RtfRun{text, state_.bold, state_.underline, state_.pointSize});
    }

    QStringView s_;
    qsizetype pos_ = 0;
    State state_;
    QList<State> stack_;
    QList<RtfParagraph> out_{RtfParagraph{}};
    char16_t high_ = 0;
};

} // namespace

QList<RtfParagraph> ParseRtf(QStringView rtf) {
    return Parser(rtf).run();
}

void ReadRtf(QStringView rtf, QTextDocument& doc, const QFont& base) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false); // a report is never undone; its steps would only cost memory
    doc.clear();
    doc.setDefaultFont(base);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    doc.setDefaultTextOption(option);

    QTextCursor cursor(&doc);
    bool first = true;
    for (const RtfParagraph& paragraph : ParseRtf(rtf)) {
        if (!first)
            cursor.insertBlock();
        first = false;
        for (const RtfRun& run : paragraph) {
            QTextCharFormat format;
            format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
            format.setFontUnderline(run.underline);
            format.setFontPointSize(run.pointSize > 0 ? run.pointSize : base.pointSizeF());
            cursor.insertText(run.text, format);
        }
    }
    doc.setUndoRedoEnabled(undo);
}

QFont ReportBaseFont() {
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8.25);
    return font;
}
