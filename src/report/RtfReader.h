#pragma once
// A small, strict reader for the rich text the diet report writes: groups, bold, underline,
// paragraphs, font sizes, and the escapes \\ \{ \} \uN. Anything else is skipped; no input makes
// it crash or hang.
#include <QFont>
#include <QList>
#include <QString>
#include <QStringView>

// A stretch of text in one emphasis.
struct RtfRun {
    QString text;
    bool bold = false;
    bool underline = false;
    double pointSize = 0; // 0: the base font's size
    friend bool operator==(const RtfRun&, const RtfRun&) = default;
};

// One paragraph (the text between two \par).
using RtfParagraph = QList<RtfRun>;

// Receives what the reader reads, in order: each stretch of text with its emphasis (text never
// empty, and two stretches in a row never have the same emphasis) and each paragraph's end.
class RtfSink {
public:
    virtual ~RtfSink() = default;
    virtual void text(QStringView text, bool bold, bool underline, double pointSize) = 0;
    virtual void paragraphEnd() = 0;
};

// Reads `rtf` into `sink`, without holding the text anywhere else.
void parseRtf(QStringView rtf, RtfSink& sink);

// The paragraphs of `rtf`; runs of equal emphasis are merged.
QList<RtfParagraph> parseRtf(QStringView rtf);

// The report's fixed-pitch base font: Liberation Mono, 8.25 points.
QFont reportBaseFont();
