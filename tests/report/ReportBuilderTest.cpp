// The report built from diet rows: its rich text and its print lines, figure by figure.
#include "ReportCells.h"
#include "ReportRows.h"

#include "Database.h"
#include "Recordset.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kAppleLine = u"Apple"_s + sp(49) + u" "_s + u"    1.00"_s + u"       0.5"_s +
                           u"      25.0"_s + u"       0.3"_s + u"      95.0"_s + u"       2.0"_s +
                           u"       0.0"_s + u"       4.4"_s + u"       0.0"_s;
const QString kBreadLine = u"Bread"_s + sp(49) + u" "_s + u"    2.00"_s + u"       2.0"_s +
                           u"      24.0"_s + u"       5.0"_s + u"     140.0"_s + u"     300.0"_s +
                           u"       0.0"_s + u"       1.5"_s + u"       0.3"_s;
const QString kFigures = u"       2.5"_s + u"      49.0"_s + u"       5.3"_s + u"     235.0"_s +
                         u"     302.0"_s + u"       0.0"_s + u"       5.9"_s + u"       0.3"_s;
// Fat 22.5, carbohydrate 196 and protein 21.2 of 239.7 calories from the grams.
const QString kShares = u"      9.4%"_s + u"     81.8%"_s + u"      8.8%"_s;
const QString kDayTotals = u"01/05/1999 Totals:"_s + sp(45) + kFigures;
const QString kDayShares = sp(11) + u"Calculated Percentage of Calories:"_s + sp(19) + kShares;
const QString kGrandTotals = u"Report Grand Totals:"_s + sp(43) + kFigures;
const QString kGrandShares = sp(10) + u"Calculated Percentage of Calories:"_s + sp(20) + kShares;

QStringList tags(const QList<PrintLine>& lines) {
    QStringList out;
    for (const PrintLine& l : lines)
        out << l.Tag;
    return out;
}

} // namespace

TEST(ReportBuilder, OneDayGivesHeadingsEntriesDayTotalsAndGrandTotals) {
    const BuiltReport report =
        BuildReport(oneDay(), {u"Fiber grams"_s, QString()}); // labels: first 8, or 8 blanks

    const QString headings =
        u"{\\rtf1\\fs16{\\b\\f2\\ul Food Name}{\\f2 "_s + sp(46) +
        u"}{\\f2 }{\\b\\f2\\ul Servings}{\\f2   }{\\b\\f2\\ul      Fat}{\\f2   }"_s
        u"{\\b\\f2\\ul    Carbs}{\\f2   }{\\b\\f2\\ul  Protein}{\\f2   }{\\b\\f2\\ul Calories}"_s
        u"{\\f2   }{\\b\\f2\\ul   Sodium}{\\f2   }{\\b\\f2\\ul     Chol}{\\f2   }"_s
        u"{\\b\\f2\\ul Fiber gr}{\\f2   }{\\b\\f2\\ul         }{\\par\\par\\f2 "_s;
    const QString body = u"{\\f2\\b 01/05/1999}\\par\\par "_s + kAppleLine +
                         u"\\par    [1 medium]\\par "_s + kBreadLine +
                         u"\\par    [2 slices]\\par \\par {\\f2\\b "_s + kDayTotals +
                         u"} \\par {\\f2\\b "_s + kDayShares + u"}\\par\\par {\\f2\\b "_s +
                         QString(143, u'_') + u"}\\par\\par {\\f2\\b "_s + kGrandTotals +
                         u"} \\par {\\f2\\b "_s + kGrandShares + u"}\\par\\par }}"_s;
    EXPECT_EQ(report.rtf, headings + body);

    const QList<PrintLine> expected = {
        {u"PREBREAK"_s, u"01/05/1999"_s},   {u"DETAIL1"_s, kAppleLine},
        {u"DETAIL2"_s, u"   [1 medium]"_s}, {u"DETAIL1"_s, kBreadLine},
        {u"DETAIL2"_s, u"   [2 slices]"_s}, {u"POSTBREAK1"_s, kDayTotals},
        {u"POSTBREAK2"_s, kDayShares},      {u"TOTAL1"_s, sp(143)},
        {u"TOTAL2"_s, kGrandTotals},        {u"TOTAL3"_s, kGrandShares}};
    EXPECT_EQ(report.lines, expected);
}

TEST(ReportBuilder, EachDayIsClosedByItsTotalsBeforeTheNextDayStarts) {
    QList<ReportRow> rows = oneDay();
    rows << row(kJan6, u"Milk"_s, 1, u"1 cup"_s, {8, 12, 8, 150, 100, 24, 0, 0});
    const BuiltReport report = BuildReport(rows, {});
    EXPECT_EQ(
        tags(report.lines),
        QStringList({u"PREBREAK"_s, u"DETAIL1"_s, u"DETAIL2"_s, u"DETAIL1"_s, u"DETAIL2"_s,
                     u"POSTBREAK1"_s, u"POSTBREAK2"_s, u"PREBREAK"_s, u"DETAIL1"_s, u"DETAIL2"_s,
                     u"POSTBREAK1"_s, u"POSTBREAK2"_s, u"TOTAL1"_s, u"TOTAL2"_s, u"TOTAL3"_s}));
    EXPECT_EQ(report.lines[5].Text, kDayTotals);
    EXPECT_EQ(report.lines[13].Text, u"Report Grand Totals:"_s + sp(43) + u"      10.5"_s +
                                         u"      61.0"_s + u"      13.3"_s + u"     385.0"_s +
                                         u"     402.0"_s + u"      24.0"_s + u"       5.9"_s +
                                         u"       0.3"_s);
    EXPECT_TRUE(report.rtf.contains(u"} \\par {\\f2\\b "_s + kDayShares +
                                    u"}\\par\\par\\par {\\f2\\b 01/06/1999}\\par\\par "_s));

    const BuiltReport none = BuildReport({}, {});
    EXPECT_EQ(none.rtf, u"{\\rtf1\\fs16{\\b\\f2 No Data Available for the selected Date Range}}"_s);
    EXPECT_TRUE(none.lines.isEmpty());
}

TEST(ReportBuilder, RowsAreReadFromTheDietLogWithTheirNulls) {
    TestDatabase log;
    Database db;
    db.openExclusive(log.path());
    db.execute(u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, NumServings, "
               u"ServingSize, Fat, Protein, Carbohydrate, Calorie, Sodium, Cholesterol, Other1, "
               u"Other2) VALUES (1, 'USER1', '1999-01-05', 'Apple', 1.5, '1 medium', 1, 2, 3, 4, "
               u"5, 6, 7, 8), (2, 'USER1', '1999-01-06', NULL, NULL, NULL, NULL, NULL, NULL, "
               u"NULL, NULL, NULL, NULL, NULL)"_s);
    auto rs = Recordset::openSnapshot(db, u"SELECT * FROM DietActivity ORDER BY DietId"_s);
    const QList<ReportRow> rows = ReportRowsFrom(*rs);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].DietDate, kJan5);
    EXPECT_EQ(rows[0].FoodName, u"Apple"_s);
    EXPECT_EQ(rows[0].ServingSize, u"1 medium"_s);
    EXPECT_EQ(rows[0].NumServings, 1.5);
    // Report order: fat, carbohydrate, protein, calories, sodium, cholesterol, other 1, other 2.
    const std::array<std::optional<double>, RvCount> values = {1, 3, 2, 4, 5, 6, 7, 8};
    EXPECT_EQ(rows[0].values, values);
    EXPECT_EQ(rows[1].DietDate, kJan6);
    EXPECT_FALSE(rows[1].NumServings || rows[1].values[RvFat] || rows[1].values[RvOther2]);
}

TEST(ReportBuilder, CalorieSharesComeFromTheGrams) {
    // Fat 90, carbohydrate 80 and protein 20 of 190 calories, whatever the stored calories.
    EXPECT_EQ(CalorieShares(10, 20, 5, 300), u"     47.4%     42.1%     10.5%"_s);
    EXPECT_EQ(CalorieShares(10, 20, 5, 0), u"      0.0%      0.0%      0.0%"_s);
    EXPECT_EQ(CalorieShares(0, 0, 0, 120), u"      0.0%      0.0%      0.0%"_s);
    // Halves as a reader sees them go away from zero; a minus stays only on what is left.
    EXPECT_EQ(FixedText(0.15, 1), u"0.2"_s);
    EXPECT_EQ(FixedText(1.005, 2), u"1.01"_s);
    EXPECT_EQ(FixedText(9.96, 1), u"10.0"_s);
    EXPECT_EQ(FixedText(-2.25, 1), u"-2.3"_s);
    EXPECT_EQ(FixedText(-0.04, 1), u"0.0"_s);
    EXPECT_EQ(FixedText(0.5, 2), u"0.50"_s);
}

TEST(ReportBuilder, MissingValuesShowEmptyCellsAndCountAsZero) {
    QList<ReportRow> rows = oneDay();
    rows.insert(1, row(kJan5, QString(), std::nullopt, QString(), {}));
    const BuiltReport report = BuildReport(rows, {});
    ASSERT_EQ(report.lines.size(), 12);
    EXPECT_EQ(report.lines[3], (PrintLine{u"DETAIL1"_s, sp(143)}));
    EXPECT_EQ(report.lines[4], (PrintLine{u"DETAIL2"_s, u"   []"_s}));
    EXPECT_EQ(report.lines[7].Text, kDayTotals);
    EXPECT_FALSE(report.rtf.contains(u"nan"_s, Qt::CaseInsensitive));
}

TEST(ReportBuilder, CellsNeverShowACutFigureOrText) {
    const QString longName = QString(50, u'x') + u"ABCDEFGHIJ"_s;
    const QString longSize = u"  "_s + QString(45, u's') + u"  tail"_s;
    const BuiltReport report = BuildReport(
        {row(kJan5, longName, 1234567, longSize, {123456789, -12345678.9, 1, 1, 1, 1, 1, 1})},
        {u"123456789"_s, u"Fibre"_s});
    const QString detail = report.lines[1].Text;
    EXPECT_EQ(detail.left(55), QString(50, u'x') + u"ABCD "_s);
    // 1234567.00 is too wide for 8; 123456789.0 and -12345678.9 are too wide for 10.
    EXPECT_EQ(detail.mid(55, 28), u"########"_s + u"##########"_s + u"##########"_s);
    EXPECT_EQ(detail.mid(83, 10), u"       1.0"_s);
    EXPECT_EQ(report.lines[2].Text, u"   ["_s + QString(45, u's') + u"  t]"_s);
    EXPECT_EQ(report.lines[3].Text.mid(63, 20), u"####################"_s);
    EXPECT_TRUE(report.rtf.contains(u"{\\b\\f2\\ul 12345678}{\\f2   }{\\b\\f2\\ul    Fibre}"_s));
}
