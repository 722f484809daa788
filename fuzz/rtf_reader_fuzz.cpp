// libFuzzer target: any bytes given to the report's RTF reader, read as Latin-1 into the text the
// report window shows, whose lines and positions must agree; and any UTF-8 text, escaped for RTF,
// must read back as itself.
#include "ReportText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const ReportText shown = readReportText(QString::fromLatin1(bytes));
    const QString plain = shown.toPlainText();
    if (plain.size() != shown.characterCount() || plain.count(u'\n') != shown.lineCount() - 1)
        std::abort();
    for (qsizetype i = 0; i < shown.lineCount(); ++i) {
        qsizetype column = 0;
        for (const ReportText::Run& run : shown.runs(i)) {
            if (run.column != column || run.length <= 0)
                std::abort();
            column += run.length;
        }
        if (column != shown.line(i).size())
            std::abort();
    }
    const qsizetype middle = shown.characterCount() / 2;
    const auto [line, column] = shown.positionOf(middle);
    if (shown.offsetOf(line, column) != middle)
        std::abort();

    // The report never writes control characters; they stand for blanks in its cells.
    QString text = QString::fromUtf8(bytes);
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != u'\t')
            c = u' ';
    const QList<RtfParagraph> back =
        parseRtf(QStringLiteral("{\\rtf1\\fs16{\\f2\\b ") + rtfEscape(text) + QStringLiteral("}}"));
    QString read;
    for (const RtfRun& run : back.value(0))
        read += run.text;
    if (back.size() != 1 || read != text)
        std::abort();
    return 0;
}
