#pragma once
// A report printer that prints nothing and records every line, position and page break, with
// the metrics of a fixed-pitch font on a landscape page. Tests read the record.
#include "ReportPrinter.h"

#include <QList>

class RecordingPrinter : public ReportPrinter {
public:
    struct Line {
        int page = 0;
        double x = 0;
        double y = 0;
        QString text;
        bool bold = false;
        bool underline = false;
        double points = 0;
        bool endLine = true;
    };

    // charWidth and lineHeight are the twips of one character and one line at 8 points; they
    // scale with the font size.
    explicit RecordingPrinter(double printableHeight = 11520, double charWidth = 96,
                              double lineHeight = 181);

    void setLandscape() override { landscape = true; }
    void setFontName(const QString& family) override { fontName = family; }
    void setFontSize(double points) override { points_ = points; }
    void setFontBold(bool bold) override { bold_ = bold; }
    void setFontUnderline(bool underline) override { underline_ = underline; }
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    double scaleHeight() const override { return printableHeight_; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    double currentY() const override { return y_; }
    void print(const QString& text, bool endLine = true) override;
    void drawChart(const QRectF& area, const ChartData& chart) override;
    int page() const override { return page_; }
    void newPage() override { ++page_; }
    bool endDoc() override;

    struct Chart {
        int page = 0;
        QRectF area;
        qsizetype days = 0;
    };

    QList<Line> lines; // in the order printed
    QList<Chart> charts;
    bool landscape = false;
    QString fontName;
    int endDocs = 0;

private:
    double printableHeight_;
    double charWidth_;
    double lineHeight_;
    double points_ = 8;
    bool bold_ = false;
    bool underline_ = false;
    double x_ = 0;
    double y_ = 0;
    int page_ = 1;
};
