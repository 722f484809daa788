#include "PainterPrinter.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {
constexpr double kTwipsPerInch = 1440.0;
}

PainterPrinter::PainterPrinter(QPagedPaintDevice& device) : device_(device) {}

void PainterPrinter::setLandscape() {
    device_.setPageOrientation(QPageLayout::Landscape);
}

void PainterPrinter::setFontName(const QString& family) {
    font_.setFamily(family);
}
void PainterPrinter::setFontSize(double points) {
    font_.setPointSizeF(points);
}
void PainterPrinter::setFontBold(bool bold) {
    font_.setBold(bold);
}
// The underline is drawn by print(): the font's own underline leaves out a line of blanks, and
// a line of blanks is how the report draws its rule.
void PainterPrinter::setFontUnderline(bool underline) {
    underline_ = underline;
}

double PainterPrinter::toPixelsX(double twips) const {
    return twips * device_.logicalDpiX() / kTwipsPerInch;
}
double PainterPrinter::toPixelsY(double twips) const {
    return twips * device_.logicalDpiY() / kTwipsPerInch;
}
double PainterPrinter::toTwipsY(double pixels) const {
    return pixels * kTwipsPerInch / device_.logicalDpiY();
}

// Measured at the device's own resolution, so the column positions computed from these widths
// match where the device draws the characters.
double PainterPrinter::textWidth(const QString& text) const {
    return QFontMetricsF(font_, &device_).horizontalAdvance(text) * kTwipsPerInch /
           device_.logicalDpiX();
}

double PainterPrinter::textHeight(const QString&) const {
    return toTwipsY(QFontMetricsF(font_, &device_).height());
}

double PainterPrinter::scaleHeight() const {
    return toTwipsY(device_.height());
}

bool PainterPrinter::begin() {
    if (!painter_.isActive() && !failed_)
        failed_ = !painter_.begin(&device_);
    return !failed_;
}

void PainterPrinter::print(const QString& text, bool endLine) {
    if (!begin())
        return;
    painter_.setFont(font_);
    const QFontMetricsF metrics(font_, &device_);
    const QPointF baseline(toPixelsX(x_), toPixelsY(y_) + metrics.ascent());
    painter_.drawText(baseline, text);
    const double width = metrics.horizontalAdvance(text);
    if (underline_ && width > 0) {
        const double y = baseline.y() + metrics.underlinePos();
        painter_.fillRect(QRectF(baseline.x(), y, width, qMax(1.0, metrics.lineWidth())),
                          painter_.pen().color());
    }
    if (endLine) {
        x_ = 0;
        y_ += textHeight(text);
    } else {
        x_ += textWidth(text);
    }
}

void PainterPrinter::newPage() {
    if (!begin())
        return;
    if (!device_.newPage())
        failed_ = true;
    ++page_;
}

bool PainterPrinter::endDoc() {
    // A document with nothing printed still gets its one page.
    begin();
    if (painter_.isActive() && !painter_.end())
        failed_ = true;
    return !failed_;
}
