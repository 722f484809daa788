#pragma once
// The report's chart of calories per day: the arithmetic of its bars and the words that describe
// it, without any window. A bar stands for a day, or for a week, a month or years when days
// would be too thin to see; its height is the average calories per day with entries in it, and
// it is split in the calorie shares of fat, carbohydrate and protein of those days.
#include <QDate>
#include <QList>
#include <QString>
#include <array>

// The totals of one day with entries.
struct ChartDay {
    QDate date;
    double fat = 0;
    double carbohydrate = 0;
    double protein = 0;
    double calories = 0;
};

// What the chart shows: the days with entries of the range from..to, in date order.
struct ChartData {
    QList<ChartDay> days;
    QDate from;
    QDate to;
};

enum class ChartUnit { Day, Week, Month, Year };

// What one bar stands for: one day, one week (Monday to Sunday), one month, or `count` years.
struct ChartPeriod {
    ChartUnit unit = ChartUnit::Day;
    int count = 1;
    friend bool operator==(const ChartPeriod&, const ChartPeriod&) = default;
};

struct ChartBar {
    QDate first; // the part of the period inside the range
    QDate last;
    int daysWithEntries = 0; // 0: a gap
    double average = 0;      // calories per day with entries
    // Fat, carbohydrate and protein parts of the bar, by the report's rule for calorie shares.
    std::array<double, 3> shares{};
};

// The shortest period whose bars are at least `minWidth` wide when from..to is `width` wide.
ChartPeriod chartPeriodFor(const QDate& from, const QDate& to, double width, double minWidth = 3);

// One bar for each period from..to, gaps included, in date order.
QList<ChartBar> chartBars(const ChartData& data, ChartPeriod period);

struct ChartSummary {
    int daysWithEntries = 0;
    double average = 0; // calories per day with entries: the range's average line
    QDate highestDay;   // the first day of the most calories
    double highest = 0;
};
ChartSummary summarizeChart(const ChartData& data);

// "From 12/01/26 to 12/07/26: average 1,850 kcal a day on the 5 days with entries; highest
// 2,400 kcal on 12/03/26", what a screen reader says of the chart.
QString chartDescription(const ChartData& data);

// Whole calories with a thousands separator: "1,850".
QString kcalText(double calories);
