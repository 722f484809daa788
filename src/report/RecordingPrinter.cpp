#include "RecordingPrinter.h"

#include "CalorieChart.h"

RecordingPrinter::RecordingPrinter(double printableHeight, double charWidth, double lineHeight)
    : printableHeight_(printableHeight), charWidth_(charWidth), lineHeight_(lineHeight) {}

double RecordingPrinter::textWidth(const QString& text) const {
    return charWidth_ * points_ / 8 * double(text.size());
}

double RecordingPrinter::textHeight(const QString&) const {
    return lineHeight_ * points_ / 8;
}

void RecordingPrinter::print(const QString& text, bool endLine) {
    lines.append({page_, x_, y_, text, bold_, underline_, points_, endLine});
    if (endLine) {
        x_ = 0;
        y_ += textHeight(text);
    } else {
        x_ += textWidth(text);
    }
}

bool RecordingPrinter::endDoc() {
    ++endDocs;
    return true;
}

void RecordingPrinter::drawChart(const QRectF& area, const ChartData& chart) {
    charts.append({page_, area, chart.days.size()});
}
