// libFuzzer target: a search pattern and a name, split at the first zero byte. Matching never
// fails; the fast path for ASCII names agrees with the full expression; and a name searched for
// with its pattern characters in brackets ("[*]", "[?]", "[#]", "[[]") is always found.
#include "LikePattern.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const char* zero = static_cast<const char*>(std::memchr(bytes, 0, size));
    const size_t patternSize = zero ? size_t(zero - bytes) : size / 2;
    const size_t nameStart = zero ? patternSize + 1 : patternSize;
    const QString pattern = QString::fromUtf8(bytes, qsizetype(patternSize));
    const QByteArray nameUtf8(bytes + nameStart, qsizetype(size - nameStart));
    const QString name = QString::fromUtf8(nameUtf8);

    const LikePattern like(u'*' + pattern + u'*');
    const QByteArray clean = name.toUtf8(); // what the database holds: valid UTF-8
    if (like.matchesUtf8(clean.constData(), clean.size()) != like.matches(name))
        std::abort();

    QString escaped;
    for (QChar c : name) {
        if (c == u'*' || c == u'?' || c == u'#' || c == u'[')
            escaped += u'[' + QString(c) + u']';
        else
            escaped += c;
    }
    if (!LikePattern(u'*' + escaped + u'*').matches(name))
        std::abort();
    return 0;
}
