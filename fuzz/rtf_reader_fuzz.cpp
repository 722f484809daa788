// libFuzzer target: any bytes given to the report's RTF reader, read as Latin-1 and laid out; and
// any UTF-8 text, escaped for RTF, must read back as itself.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts need one for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QTextDocument doc;
    ReadRtf(QString::fromLatin1(bytes), doc, ReportBaseFont());
    doc.documentLayout()->documentSize();
    // Lets Qt's font cache drop the engines of sizes no longer used, as an event loop would.
    QCoreApplication::processEvents();

    // The report never writes control characters; they stand for blanks in its cells.
    QString text = QString::fromUtf8(bytes);
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != u'\t')
            c = u' ';
    const QList<RtfParagraph> back =
        ParseRtf(QStringLiteral("{\\rtf1\\fs16{\\f2\\b ") + RtfEscape(text) + QStringLiteral("}}"));
    QString read;
    for (const RtfRun& run : back.value(0))
        read += run.text;
    if (back.size() != 1 || read != text)
        std::abort();
    return 0;
}
