#include "PainterPrinter.h"

#include "CalorieChartPainter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kTwipsPerPoint = 20.0;
} // namespace

PainterPrinter::PainterPrinter(QPagedPaintDevice& device) : device_(device) {}

void PainterPrinter::setLandscape() {
    device_.setPageOrientation(QPageLayout::Landscape);
}

void PainterPrinter::setFontName(const QString& family) {
    font_.setFamily(family);
}
// The font is sized in twips and the painter scales twips to the device. Sized in device pixels,
// a font is rounded to whole pixels (8 points at 1200 dpi become 133 pixels, not 133.3) and its
// characters no longer stand where TW times the column puts the headings.
void PainterPrinter::setFontSize(double points) {
    font_.setPixelSize(qRound(points * kTwipsPerPoint));
}
void PainterPrinter::setFontBold(bool bold) {
    font_.setBold(bold);
}
// The underline is drawn by print(): the font's own underline leaves out a line of blanks, and
// a line of blanks is how the report draws its rule.
void PainterPrinter::setFontUnderline(bool underline) {
    underline_ = underline;
}

double PainterPrinter::textWidth(const QString& text) const {
    return QFontMetricsF(font_).horizontalAdvance(text);
}

double PainterPrinter::textHeight(const QString&) const {
    return QFontMetricsF(font_).height();
}

double PainterPrinter::scaleHeight() const {
    return device_.height() * kTwipsPerInch / device_.logicalDpiY();
}

bool PainterPrinter::begin() {
    if (!painter_.isActive() && !failed_) {
        failed_ = !painter_.begin(&device_);
        scale();
    }
    return !failed_;
}

void PainterPrinter::scale() {
    painter_.resetTransform();
    painter_.scale(device_.logicalDpiX() / kTwipsPerInch, device_.logicalDpiY() / kTwipsPerInch);
}

void PainterPrinter::print(const QString& text, bool endLine) {
    if (!begin())
        return;
    painter_.setFont(font_);
    const QFontMetricsF metrics(font_);
    const QPointF baseline(x_, y_ + metrics.ascent());
    painter_.drawText(baseline, text);
    const double width = metrics.horizontalAdvance(text);
    if (underline_ && width > 0) {
        const double y = baseline.y() + metrics.underlinePos();
        painter_.fillRect(QRectF(baseline.x(), y, width, qMax(1.0, metrics.lineWidth())),
                          painter_.pen().color());
    }
    if (endLine) {
        x_ = 0;
        y_ += metrics.height();
    } else {
        x_ += width;
    }
}

void PainterPrinter::drawChart(const QRectF& area, const ChartData& chart) {
    if (!begin())
        return;
    painter_.setFont(font_);
    // Lines and bars as thick as on a screen of 96 dots per inch.
    paintCalorieChart(painter_, area, chart, kTwipsPerInch / 96);
}

void PainterPrinter::newPage() {
    if (!begin())
        return;
    if (!device_.newPage())
        failed_ = true;
    scale();
    ++page_;
}

bool PainterPrinter::endDoc() {
    // A document with nothing printed still gets its one page.
    begin();
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
    return !failed_;
}
