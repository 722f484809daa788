#include "CalorieChartPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {

enum Part { Fat, Carbohydrate, Protein, Unexplained, PartCount };

const QColor kInk(Qt::black);
const QColor kDark(0x40, 0x40, 0x40);
const QColor kLight(0xC8, 0xC8, 0xC8);

// Diagonal lines 4 pixels apart, clipped to r.
void hatch(QPainter& p, const QRectF& r, double u) {
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setPen(QPen(kInk, u));
    for (double x = r.left() - r.height(); x < r.right(); x += 4 * u)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

void fillPart(QPainter& p, const QRectF& r, int part, double u) {
    switch (part) {
    case Fat:
        p.fillRect(r, kDark);
        break;
    case Protein:
        p.fillRect(r, kLight);
        break;
    case Carbohydrate:
        p.fillRect(r, Qt::white);
        hatch(p, r, u);
        break;
    default:
        p.fillRect(r, Qt::white);
        break;
    }
}

// 1, 2, 2.5 or 5 times a power of ten, at least v.
double roundedUp(double v) {
    if (v <= 0)
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (const double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= v)
            return m * power;
    return 10 * power;
}

// The part of a bar each share fills, none below 0 and all together at most the whole bar; what
// the grams do not explain is the rest.
std::array<double, PartCount> partsOf(const ChartBar& bar) {
    std::array<double, PartCount> parts{};
    double sum = 0;
    for (int i = 0; i < 3; ++i)
        sum += parts[i] = std::isfinite(bar.shares[i]) ? qMax(0.0, bar.shares[i]) : 0.0;
    if (sum > 1)
        for (int i = 0; i < 3; ++i)
            parts[i] /= sum;
    parts[Unexplained] = qMax(0.0, 1 - sum);
    return parts;
}

QString periodText(ChartPeriod p) {
    switch (p.unit) {
    case ChartUnit::Day:
        return QStringLiteral("one bar a day");
    case ChartUnit::Week:
        return QStringLiteral("one bar a week, Monday to Sunday");
    case ChartUnit::Month:
        return QStringLiteral("one bar a month");
    case ChartUnit::Year:
        return p.count == 1 ? QStringLiteral("one bar a year")
                            : QStringLiteral("one bar every %1 years").arg(p.count);
    }
    return {};
}

QString shortDate(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yy"));
}

// The legend along the top: a swatch and a name for each part, then the average line.
void legend(QPainter& p, const QRectF& area, const QFontMetricsF& fm, double average, double u) {
    const double swatch = fm.ascent() * 0.8;
    const double baseline = area.top() + fm.ascent();
    double x = area.left();
    const char* const names[] = {"Fat", "Carbohydrate", "Protein", "Not from the grams"};
    for (int part = 0; part < PartCount; ++part) {
        const QRectF box(x, baseline - swatch, swatch, swatch);
        fillPart(p, box, part, u);
        p.setPen(QPen(kInk, u));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        x += swatch + 3 * u;
        const QString name = QString::fromLatin1(names[part]);
        p.drawText(QPointF(x, baseline), name);
        x += fm.horizontalAdvance(name) + 10 * u;
    }
    const double y = baseline - swatch / 2;
    p.setPen(QPen(kInk, 2 * u, Qt::DashLine));
    p.drawLine(QPointF(x, y), QPointF(x + 3 * swatch, y));
    p.setPen(QPen(kInk, u));
    p.drawText(QPointF(x + 3 * swatch + 3 * u, baseline),
               QStringLiteral("average %1 kcal a day").arg(kcalText(average)));
}

void bar(QPainter& p, const QRectF& r, const ChartBar& b, double u) {
    const std::array<double, PartCount> parts = partsOf(b);
    double y = r.bottom();
    for (int part = 0; part < PartCount; ++part) {
        const double h = r.height() * parts[part];
        if (h > 0)
            fillPart(p, QRectF(r.left(), y - h, r.width(), h), part, u);
        y -= h;
    }
    if (r.width() >= 4 * u) {
        p.setPen(QPen(kInk, u));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
    }
}

} // namespace

void paintCalorieChart(QPainter& p, const QRectF& area, const ChartData& data, double u) {
    p.save();
    const QFontMetricsF fm(p.font(), p.device());
    const ChartSummary summary = summarizeChart(data);
    // The widest label the axis can need: no period averages more than its highest day.
    const double labels =
        fm.horizontalAdvance(kcalText(roundedUp(qMax(summary.highest, summary.average)))) + 4 * u;
    const QRectF plot(area.left() + labels, area.top() + fm.height() + 4 * u,
                      area.width() - labels - u, area.height() - 2 * fm.height() - 8 * u);
    legend(p, area, fm, summary.average, u);
    if (plot.width() <= 0 || plot.height() <= 0) {
        p.restore();
        return;
    }

    const ChartPeriod period = chartPeriodFor(data.from, data.to, plot.width() / u);
    const QList<ChartBar> bars = chartBars(data, period);
    double highest = summary.average;
    for (const ChartBar& b : bars)
        highest = qMax(highest, b.average);
    const double top = roundedUp(highest);
    const auto yOf = [&](double kcal) {
        return plot.bottom() - qBound(0.0, kcal / top, 1.0) * plot.height();
    };

    // The scale: its top and its zero, a dotted line across at the top.
    p.setPen(QPen(kInk, u));
    const QString topText = kcalText(top);
    p.drawText(
        QPointF(plot.left() - 3 * u - fm.horizontalAdvance(topText), plot.top() + fm.ascent() / 2),
        topText);
    p.drawText(
        QPointF(plot.left() - 3 * u - fm.horizontalAdvance(QStringLiteral("0")), plot.bottom()),
        QStringLiteral("0"));
    p.setPen(QPen(kLight, u, Qt::DotLine));
    p.drawLine(plot.topLeft(), plot.topRight());

    if (!bars.isEmpty()) {
        const double width = plot.width() / double(bars.size());
        const double gap = width >= 6 * u ? qMax(u, width * 0.2) : 0;
        for (qsizetype i = 0; i < bars.size(); ++i) {
            const ChartBar& b = bars[i];
            if (b.daysWithEntries == 0 || !(b.average > 0))
                continue; // a gap, or a period without calories
            const double y = yOf(b.average);
            bar(p,
                QRectF(plot.left() + double(i) * width + gap / 2, y, width - gap,
                       plot.bottom() - y),
                b, u);
        }
    }
    p.setPen(QPen(kInk, u));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (summary.daysWithEntries > 0) {
        p.setPen(QPen(kInk, 2 * u, Qt::DashLine));
        const double y = yOf(summary.average);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    } else {
        p.setPen(QPen(kInk, u));
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("No entries in this range"));
    }

    // The range below the bars, and what a bar stands for.
    p.setPen(QPen(kInk, u));
    const double baseline = plot.bottom() + 3 * u + fm.ascent();
    const QString from = shortDate(data.from), to = shortDate(data.to), each = periodText(period);
    p.drawText(QPointF(plot.left(), baseline), from);
    p.drawText(QPointF(plot.right() - fm.horizontalAdvance(to), baseline), to);
    p.drawText(QPointF(plot.center().x() - fm.horizontalAdvance(each) / 2, baseline), each);
    p.restore();
}
