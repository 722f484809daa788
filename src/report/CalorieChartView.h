#pragma once
// The chart of calories per day below the report's text. A screen reader finds it as a chart
// named "Calories per day", described in words: the range, its average and its highest day.
#include "CalorieChart.h"

#include <QWidget>

class CalorieChartView : public QWidget {
    Q_OBJECT
public:
    explicit CalorieChartView(QWidget* parent = nullptr);

    void setChart(ChartData data);
    const ChartData& chart() const { return data_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartData data_;
};
