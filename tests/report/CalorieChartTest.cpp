// The chart of calories per day without a window: which period a bar stands for, the averages
// and shares of its bars, gaps and periods without calories, and the words that describe it.
#include "CalorieChart.h"
#include "CalorieChartPainter.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ChartDay day(int month, int d, double fat, double carbohydrate, double protein, double calories) {
    return {QDate(2026, month, d), fat, carbohydrate, protein, calories};
}

} // namespace

TEST(CalorieChart, BarsAreDaysUntilTheyWouldBeThinnerThanThreePixels) {
    const QDate jan1(2026, 1, 1);
    EXPECT_EQ(chartPeriodFor(jan1, jan1, 600), (ChartPeriod{ChartUnit::Day, 1}));
    EXPECT_EQ(chartPeriodFor(jan1, jan1.addDays(199), 600), (ChartPeriod{ChartUnit::Day, 1}));
    EXPECT_EQ(chartPeriodFor(jan1, jan1.addDays(200), 600), (ChartPeriod{ChartUnit::Week, 1}));
    // Ten years: 522 weeks would be 1.1 pixels wide, 121 months 5.
    EXPECT_EQ(chartPeriodFor(QDate(2016, 12, 10), QDate(2026, 12, 7), 600),
              (ChartPeriod{ChartUnit::Month, 1}));
    // A range wider than the months allow takes as many years a bar as it needs.
    EXPECT_EQ(chartPeriodFor(QDate(1900, 1, 1), QDate(2099, 12, 31), 600),
              (ChartPeriod{ChartUnit::Year, 1}));
    EXPECT_EQ(chartPeriodFor(QDate(1800, 1, 1), QDate(2799, 12, 31), 600),
              (ChartPeriod{ChartUnit::Year, 5}));
    EXPECT_EQ(chartBars({{}, QDate(2026, 1, 2), jan1}, {}).size(), 0); // a range backwards
}

TEST(CalorieChart, AWeekAveragesItsDaysWithEntriesAndSplitsByItsShares) {
    // Wednesday 7 January to Sunday 25 January: three weeks, the first from its Wednesday on.
    const ChartData data{
        {day(1, 7, 10, 20, 5, 300), day(1, 9, 0, 0, 0, 100), day(1, 20, 3, 3, 3, 0)},
        QDate(2026, 1, 7),
        QDate(2026, 1, 25)};
    const QList<ChartBar> weeks = chartBars(data, {ChartUnit::Week, 1});
    ASSERT_EQ(weeks.size(), 3);
    EXPECT_EQ(weeks[0].first, QDate(2026, 1, 7));
    EXPECT_EQ(weeks[0].last, QDate(2026, 1, 11));
    // Two days with entries; the 8th has none and stays out of the average.
    EXPECT_EQ(weeks[0].daysWithEntries, 2);
    EXPECT_DOUBLE_EQ(weeks[0].average, 200);
    // The week's grams: fat 90, carbohydrate 80, protein 20 of 190 calories from the grams.
    EXPECT_NEAR(weeks[0].shares[0], 90.0 / 190, 1e-12);
    EXPECT_NEAR(weeks[0].shares[1], 80.0 / 190, 1e-12);
    EXPECT_NEAR(weeks[0].shares[2], 20.0 / 190, 1e-12);
    EXPECT_EQ(weeks[1].daysWithEntries, 0); // a gap
    EXPECT_EQ(weeks[1].first, QDate(2026, 1, 12));
    // A day with entries of no calories: logged, yet no bar and no shares.
    EXPECT_EQ(weeks[2].daysWithEntries, 1);
    EXPECT_EQ(weeks[2].average, 0);
    EXPECT_EQ(weeks[2].shares, (std::array<double, 3>{0, 0, 0}));
    EXPECT_EQ(weeks[2].last, QDate(2026, 1, 25));

    // The range's average line counts the three days with entries, not the 19 days.
    const ChartSummary summary = summarizeChart(data);
    EXPECT_EQ(summary.daysWithEntries, 3);
    EXPECT_NEAR(summary.average, 400.0 / 3, 1e-9);
    EXPECT_EQ(summary.highestDay, QDate(2026, 1, 7));
    EXPECT_EQ(chartDescription(data), u"From 01/07/26 to 01/25/26: average 133 kcal a day on the "
                                      "3 days with entries; highest 300 kcal on 01/07/26"_s);

    // Days, one bar each with a gap for every day without entries.
    const QList<ChartBar> days = chartBars(data, {});
    ASSERT_EQ(days.size(), 19);
    EXPECT_DOUBLE_EQ(days[0].average, 300);
    EXPECT_EQ(days[1].daysWithEntries, 0);
    EXPECT_DOUBLE_EQ(days[2].average, 100);
}

TEST(CalorieChart, MonthsAndYearsKeepTheirCalendarBoundsInsideTheRange) {
    const ChartData data{
        {day(1, 31, 50, 250, 100, 2400), day(2, 1, 70, 200, 60, 1300), day(3, 2, 0, 0, 0, 1850)},
        QDate(2026, 1, 30),
        QDate(2026, 3, 2)};
    const QList<ChartBar> months = chartBars(data, {ChartUnit::Month, 1});
    ASSERT_EQ(months.size(), 3);
    EXPECT_EQ(months[0].first, QDate(2026, 1, 30));
    EXPECT_EQ(months[1].first, QDate(2026, 2, 1));
    EXPECT_EQ(months[1].last, QDate(2026, 2, 28));
    EXPECT_EQ(months[2].last, QDate(2026, 3, 2));
    EXPECT_DOUBLE_EQ(months[0].average, 2400);
    // Calories without grams: a bar with no shares, drawn as calories the grams do not explain.
    EXPECT_DOUBLE_EQ(months[2].average, 1850);
    EXPECT_EQ(months[2].shares, (std::array<double, 3>{0, 0, 0}));

    const QList<ChartBar> years = chartBars(data, {ChartUnit::Year, 1});
    ASSERT_EQ(years.size(), 1);
    EXPECT_EQ(years[0].daysWithEntries, 3);
    EXPECT_NEAR(years[0].average, 5550.0 / 3, 1e-9);
    EXPECT_EQ(chartDescription(data), u"From 01/30/26 to 03/02/26: average 1,850 kcal a day on the "
                                      "3 days with entries; highest 2,400 kcal on 01/31/26"_s);
    EXPECT_EQ(chartDescription({{}, QDate(2026, 1, 5), QDate(2026, 1, 11)}),
              u"From 01/05/26 to 01/11/26: no entries, so no average and no highest day"_s);

    // Drawn small and large, with and without entries, it stays inside its area.
    for (const QSize size : {QSize(30, 20), QSize(640, 160)})
        for (const ChartData& d : {data, ChartData{{}, data.from, data.to}}) {
            QImage image(size + QSize(20, 20), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            paintCalorieChart(p, QRectF(QPointF(10, 10), size), d);
            p.end();
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(image.pixel(x, 0), qRgb(255, 255, 255)) << size.width();
        }
}
