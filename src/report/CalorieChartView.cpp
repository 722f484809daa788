#include "CalorieChartView.h"

#include "CalorieChartPainter.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace {
QAccessibleInterface* accessibleChart(const QString&, QObject* object) {
    if (auto* chart = qobject_cast<CalorieChartView*>(object))
        return new QAccessibleWidget(chart, QAccessible::Chart);
    return nullptr;
}
// Installed before any chart exists: the first look at a widget fixes how it is presented.
const bool accessibleChartInstalled = (QAccessible::installFactory(accessibleChart), true);
} // namespace

CalorieChartView::CalorieChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picCalories"));
    setAccessibleName(QStringLiteral("Calories per day"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CalorieChartView::setChart(ChartData data) {
    data_ = std::move(data);
    setAccessibleDescription(chartDescription(data_));
    update();
}

void CalorieChartView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    paintCalorieChart(p, QRectF(rect()).adjusted(4, 4, -4, -4), data_);
}
