#include "ReportText.h"

#include <algorithm>

ReportText::ReportText() : lineEnds_{0}, runEnds_{0} {}

QStringView ReportText::line(qsizetype i) const {
    const qsizetype start = lineStart(i);
    return QStringView(chars_).sliced(start, lineEnds_[i] - start);
}

QList<ReportText::Run> ReportText::runs(qsizetype i) const {
    const qsizetype first = i == 0 ? 0 : runEnds_[i - 1];
    return runs_.sliced(first, runEnds_[i] - first);
}

qsizetype ReportText::characterCount() const {
    return chars_.size() + lineCount() - 1;
}

qsizetype ReportText::offsetOf(qsizetype line, qsizetype column) const {
    line = std::clamp<qsizetype>(line, 0, lineCount() - 1);
    return lineStart(line) + line +
           std::clamp<qsizetype>(column, 0, lineEnds_[line] - lineStart(line));
}

std::pair<qsizetype, qsizetype> ReportText::positionOf(qsizetype offset) const {
    offset = std::clamp<qsizetype>(offset, 0, characterCount());
    // The last line that starts at or before the offset.
    const auto starts = [&](qsizetype i) { return lineStart(i) + i; };
    qsizetype lo = 0, hi = lineCount() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (starts(mid) <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return {lo, offset - starts(lo)};
}

QString ReportText::text(qsizetype from, qsizetype to) const {
    const auto [firstLine, firstColumn] = positionOf(qMin(from, to));
    const auto [lastLine, lastColumn] = positionOf(qMax(from, to));
    if (firstLine == lastLine)
        return line(firstLine).sliced(firstColumn, lastColumn - firstColumn).toString();
    QString out = line(firstLine).sliced(firstColumn).toString();
    for (qsizetype i = firstLine + 1; i < lastLine; ++i) {
        out += u'\n';
        out += line(i);
    }
    out += u'\n';
    out += line(lastLine).first(lastColumn);
    return out;
}

void ReportText::text(QStringView text, bool bold, bool underline, double pointSize) {
    const qsizetype column = chars_.size() - lineStart(lineCount() - 1);
    chars_ += text;
    lineEnds_.last() = chars_.size();
    longest_ = qMax(longest_, lineEnds_.last() - lineStart(lineCount() - 1));
    const auto style = quint8((bold ? Bold : Plain) | (underline ? Underline : Plain));
    runs_.append({qint32(column), qint32(text.size()), style});
    runEnds_.last() = runs_.size();
    if (pointSize_ == 0)
        pointSize_ = pointSize;
}

void ReportText::squeeze() {
    chars_.squeeze();
    lineEnds_.squeeze();
    runs_.squeeze();
    runEnds_.squeeze();
}

void ReportText::paragraphEnd() {
    lineEnds_.append(chars_.size());
    runEnds_.append(runs_.size());
}

ReportText readReportText(QStringView rtf) {
    ReportText text;
    parseRtf(rtf, text);
    text.squeeze();
    return text;
}
