#pragma once
// The report as the screen shows it: its lines and their bold and underlined stretches, read
// from the report's rich text. Ten years are about 146,000 lines, so the characters of all lines
// share one buffer and each stretch is a few numbers. Positions in the text count the end of
// each line as one character, as the text copied or read aloud has it.
#include "RtfReader.h"

#include <QList>
#include <QString>
#include <utility>

class ReportText : public RtfSink {
public:
    enum Style : quint8 { Plain = 0, Bold = 1, Underline = 2 };
    struct Run {
        qint32 column; // where it starts in its line
        qint32 length;
        quint8 style; // Style bits
    };

    ReportText();

    qsizetype lineCount() const { return lineEnds_.size(); } // at least one
    QStringView line(qsizetype i) const;
    // The stretches of line i, left to right; together they cover the line.
    QList<Run> runs(qsizetype i) const;
    qsizetype longestLine() const { return longest_; }
    // The size the text names for itself (\fs), 0 when it names none.
    double pointSize() const { return pointSize_; }

    // Characters in all, line ends included.
    qsizetype characterCount() const;
    qsizetype offsetOf(qsizetype line, qsizetype column) const;
    // The line and column of an offset, clamped to the text.
    std::pair<qsizetype, qsizetype> positionOf(qsizetype offset) const;
    // The characters from `from` to `to`, lines joined by '\n'.
    QString text(qsizetype from, qsizetype to) const;
    QString toPlainText() const { return text(0, characterCount()); }

    // RtfSink: the reader fills the text.
    void text(QStringView text, bool bold, bool underline, double pointSize) override;
    void paragraphEnd() override;
    // Gives back the room reserved for text to come.
    void squeeze();

private:
    qsizetype lineStart(qsizetype i) const { return i == 0 ? 0 : lineEnds_[i - 1]; }

    QString chars_;
    QList<qsizetype> lineEnds_; // where each line ends in chars_
    QList<Run> runs_;
    QList<qsizetype> runEnds_; // where each line's runs end in runs_
    qsizetype longest_ = 0;
    double pointSize_ = 0;
};

// The text the report's rich text shows.
ReportText readReportText(QStringView rtf);
