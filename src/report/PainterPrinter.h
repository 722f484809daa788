#pragma once
// The report printer on a real paged device (a printer or a PDF writer), drawn with QPainter.
#include "ReportPrinter.h"

#include <QFont>
#include <QPainter>

class QPagedPaintDevice;

class PainterPrinter : public ReportPrinter {
public:
    explicit PainterPrinter(QPagedPaintDevice& device);

    void setLandscape() override;
    void setFontName(const QString& family) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    void setFontUnderline(bool underline) override;
    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;
    double scaleHeight() const override;
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    double currentY() const override { return y_; }
    void print(const QString& text, bool endLine = true) override;
    void drawChart(const QRectF& area, const ChartData& chart) override;
    int page() const override { return page_; }
    void newPage() override;
    bool endDoc() override;

private:
    bool begin();
    void scale();

    QPagedPaintDevice& device_;
    QPainter painter_;
    QFont font_;
    bool underline_ = false;
    bool failed_ = false;
    double x_ = 0;
    double y_ = 0;
    int page_ = 1;
};
