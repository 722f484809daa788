#include "RtfWriter.h"

void appendRtfEscaped(QString& out, QStringView text) {
    const auto plain = [](char16_t u) {
        return u >= 0x20 && u < 0x7F && u != u'\\' && u != u'{' && u != u'}';
    };
    qsizetype i = 0;
    while (i < text.size()) {
        // Stretches that need no escape go in whole: most of the report is such text.
        qsizetype end = i;
        while (end < text.size() && plain(text[end].unicode()))
            ++end;
        out += text.sliced(i, end - i);
        if (end == text.size())
            return;
        const char16_t u = text[end].unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += QChar(u);
        } else {
            // The '?' is what a reader without Unicode shows; ours skips it.
            out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(u));
        }
        i = end + 1;
    }
}

QString rtfEscape(QStringView text) {
    QString out;
    out.reserve(text.size());
    appendRtfEscaped(out, text);
    return out;
}
