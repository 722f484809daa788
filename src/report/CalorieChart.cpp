#include "CalorieChart.h"

#include "ReportCells.h"

#include <QLocale>
#include <cmath>

namespace {

QDate mondayOf(const QDate& d) {
    return d.addDays(1 - d.dayOfWeek());
}

// The index of the period that holds `d`, counted from the one that holds `from`.
qint64 periodIndex(const QDate& from, const QDate& d, ChartPeriod p) {
    switch (p.unit) {
    case ChartUnit::Day:
        return from.daysTo(d);
    case ChartUnit::Week:
        return mondayOf(from).daysTo(mondayOf(d)) / 7;
    case ChartUnit::Month:
        return qint64(d.year() - from.year()) * 12 + d.month() - from.month();
    case ChartUnit::Year:
        return (d.year() - from.year()) / p.count;
    }
    return 0;
}

QDate periodStart(const QDate& from, qint64 i, ChartPeriod p) {
    switch (p.unit) {
    case ChartUnit::Day:
        return from.addDays(i);
    case ChartUnit::Week:
        return mondayOf(from).addDays(7 * i);
    case ChartUnit::Month:
        return QDate(from.year(), from.month(), 1).addMonths(int(i));
    case ChartUnit::Year:
        return QDate(from.year() + int(i) * p.count, 1, 1);
    }
    return from;
}

qint64 periodCount(const QDate& from, const QDate& to, ChartPeriod p) {
    return from.isValid() && to.isValid() && from <= to ? periodIndex(from, to, p) + 1 : 0;
}

QString shortDate(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yy"));
}

} // namespace

ChartPeriod chartPeriodFor(const QDate& from, const QDate& to, double width, double minWidth) {
    for (const ChartUnit unit : {ChartUnit::Day, ChartUnit::Week, ChartUnit::Month}) {
        const qint64 n = periodCount(from, to, {unit, 1});
        if (n == 0 || width / double(n) >= minWidth)
            return {unit, 1};
    }
    // Wider than the months allow: as many years a bar as it takes.
    const double years = double(periodCount(from, to, {ChartUnit::Year, 1}));
    return {ChartUnit::Year, qMax(1, int(std::ceil(years * minWidth / qMax(width, 1.0))))};
}

QList<ChartBar> chartBars(const ChartData& data, ChartPeriod period) {
    const qint64 n = periodCount(data.from, data.to, period);
    QList<ChartBar> bars(n);
    QList<ChartDay> totals(n); // fat, carbohydrate, protein and calories of each period
    for (qint64 i = 0; i < n; ++i) {
        bars[i].first = qMax(periodStart(data.from, i, period), data.from);
        bars[i].last = qMin(periodStart(data.from, i + 1, period).addDays(-1), data.to);
    }
    for (const ChartDay& day : data.days) {
        if (day.date < data.from || day.date > data.to)
            continue;
        const qint64 i = periodIndex(data.from, day.date, period);
        ++bars[i].daysWithEntries;
        totals[i].fat += day.fat;
        totals[i].carbohydrate += day.carbohydrate;
        totals[i].protein += day.protein;
        totals[i].calories += day.calories;
    }
    for (qint64 i = 0; i < n; ++i) {
        const ChartDay& t = totals[i];
        if (bars[i].daysWithEntries == 0)
            continue;
        bars[i].average = t.calories / bars[i].daysWithEntries;
        bars[i].shares = calorieShareValues(t.fat, t.carbohydrate, t.protein, t.calories);
    }
    return bars;
}

ChartSummary summarizeChart(const ChartData& data) {
    ChartSummary s;
    double calories = 0;
    for (const ChartDay& day : data.days) {
        if (day.date < data.from || day.date > data.to)
            continue;
        if (s.daysWithEntries == 0 || day.calories > s.highest) {
            s.highest = day.calories;
            s.highestDay = day.date;
        }
        ++s.daysWithEntries;
        calories += day.calories;
    }
    if (s.daysWithEntries > 0)
        s.average = calories / s.daysWithEntries;
    return s;
}

QString kcalText(double calories) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qRound64(calories));
}

QString chartDescription(const ChartData& data) {
    const QString range =
        QStringLiteral("From %1 to %2: ").arg(shortDate(data.from), shortDate(data.to));
    const ChartSummary s = summarizeChart(data);
    if (s.daysWithEntries == 0)
        return range + QStringLiteral("no entries, so no average and no highest day");
    const QString days = s.daysWithEntries == 1
                             ? QStringLiteral("the one day")
                             : QStringLiteral("the %1 days").arg(s.daysWithEntries);
    return range +
           QStringLiteral("average %1 kcal a day on %2 with entries; highest %3 kcal on %4")
               .arg(kcalText(s.average), days, kcalText(s.highest), shortDate(s.highestDay));
}
