#include "RtfWriter.h"

QString RtfEscape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += c;
        } else if (u >= 0x20 && u < 0x7F) {
            out += c;
        } else {
            // The '?' is what a reader without Unicode shows; ours skips it.
            out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(u));
        }
    }
    return out;
}
