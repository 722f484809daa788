#pragma once
// The printer operations the report's printing uses, so that it can print on paper, into a PDF
// or into a recording for tests. Positions and sizes are in twips (1/1440 inch) from the
// printable area's top left corner.
#include <QRectF>
#include <QString>

struct ChartData;

class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;

    // Called before anything is printed.
    virtual void setLandscape() = 0;

    virtual void setFontName(const QString& family) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;
    virtual void setFontUnderline(bool underline) = 0;

    // The size of text in the current font.
    virtual double textWidth(const QString& text) const = 0;
    virtual double textHeight(const QString& text) const = 0;
    // The height of the printable area of a page.
    virtual double scaleHeight() const = 0;

    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double currentY() const = 0;

    // Prints text at the current position in the current font. With endLine the position moves
    // to the start of the next line (X 0, Y one line of the current font lower); without, it
    // stays on the line, after the text.
    virtual void print(const QString& text, bool endLine = true) = 0;

    // Draws the chart of calories per day into `area` of the current page, its text in the
    // current font.
    virtual void drawChart(const QRectF& area, const ChartData& chart) = 0;

    // The number of the page being printed, from 1.
    virtual int page() const = 0;
    virtual void newPage() = 0;
    // Finishes the document; false when it could not be written.
    virtual bool endDoc() = 0;
};
