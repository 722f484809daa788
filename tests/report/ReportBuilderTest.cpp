// The report built from diet rows: its rich text and its print lines, figure by figure.
#include "ReportCells.h"
#include "ReportRows.h"
#include "RtfReader.h"

#include "Database.h"
#include "Recordset.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kAppleLine = u"Apple"_s + sp(50) + u"    1.00"_s +
                           cells({"0.5", "25.0", "0.3", "95.0", "2.0", "0.0", "4.4", "0.0"});
const QString kBreadLine = u"Bread"_s + sp(50) + u"    2.00"_s +
                           cells({"2.0", "24.0", "5.0", "140.0", "300.0", "0.0", "1.5", "0.3"});
const QString kFigures = cells({"2.5", "49.0", "5.3", "235.0", "302.0", "0.0", "5.9", "0.3"});
// Fat 22.5, carbohydrate 196 and protein 21.2 of 239.7 calories from the grams.
const QString kShares = cells({"9.4%", "81.8%", "8.8%"});
const QString kDayTotals = u"01/05/1999 Totals:"_s + sp(45) + kFigures;
const QString kDayShares = sp(11) + u"Calculated Percentage of Calories:"_s + sp(19) + kShares;
const QString kGrandTotals = u"Report Grand Totals:"_s + sp(43) + kFigures;
const QString kGrandShares = sp(10) + u"Calculated Percentage of Calories:"_s + sp(20) + kShares;

// Stretches of the rich text as it reads back, all in the report's 8 points.
RtfRun plain(const QString& text) {
    return {text, false, false, 8};
}
RtfRun bold(const QString& text) {
    return {text, true, false, 8};
}
// The headings line with the headings of the two labels: each heading bold and underlined,
// two plain blanks between them.
RtfParagraph headings(const QString& other1, const QString& other2) {
    RtfParagraph line = {
        {u"Food Name"_s, true, true, 8}, plain(sp(46)), {u"Servings"_s, true, true, 8}};
    for (const QString& heading : {u"     Fat"_s, u"   Carbs"_s, u" Protein"_s, u"Calories"_s,
                                   u"  Sodium"_s, u"    Chol"_s, other1, other2})
        line << plain(u"  "_s) << RtfRun{heading, true, true, 8};
    return line;
}

} // namespace

TEST(ReportBuilder, DaysGiveHeadingsEntriesDayTotalsAndGrandTotalsInOrder) {
    const BuiltReport report =
        BuildReport(oneDay(), {u"Fiber grams"_s, QString()}); // labels: first 8, or 8 blanks

    // Headings, the day in bold, each entry with its serving below, the day's totals and
    // shares in bold, a bold rule, then the grand totals and shares in bold.
    const QList<RtfParagraph> expectedText = {headings(u"Fiber gr"_s, sp(8)),
                                              {},
                                              {bold(u"01/05/1999"_s)},
                                              {},
                                              {plain(kAppleLine)},
                                              {plain(u"   [1 medium]"_s)},
                                              {plain(kBreadLine)},
                                              {plain(u"   [2 slices]"_s)},
                                              {},
                                              {bold(kDayTotals), plain(u" "_s)},
                                              {bold(kDayShares)},
                                              {},
                                              {bold(QString(143, u'_'))},
                                              {},
                                              {bold(kGrandTotals), plain(u" "_s)},
                                              {bold(kGrandShares)},
                                              {},
                                              {}};
    EXPECT_EQ(parseRtf(report.rtf), expectedText);

    const QList<PrintLine> expected = {
        {u"PREBREAK"_s, u"01/05/1999"_s},   {u"DETAIL1"_s, kAppleLine},
        {u"DETAIL2"_s, u"   [1 medium]"_s}, {u"DETAIL1"_s, kBreadLine},
        {u"DETAIL2"_s, u"   [2 slices]"_s}, {u"POSTBREAK1"_s, kDayTotals},
        {u"POSTBREAK2"_s, kDayShares},      {u"TOTAL1"_s, sp(143)},
        {u"TOTAL2"_s, kGrandTotals},        {u"TOTAL3"_s, kGrandShares}};
    EXPECT_EQ(report.lines.toList(), expected);

    // A second day is opened only after the first is closed by its totals.
    QList<ReportRow> rows = oneDay();
    rows << row(kJan6, u"Milk"_s, 1, u"1 cup"_s, {8, 12, 8, 150, 100, 24, 0, 0});
    const BuiltReport two = BuildReport(rows, {});
    QStringList tags;
    for (const PrintLine& l : two.lines.toList())
        tags << l.Tag;
    EXPECT_EQ(tags.join(u' '), u"PREBREAK DETAIL1 DETAIL2 DETAIL1 DETAIL2 POSTBREAK1 POSTBREAK2 "
                               "PREBREAK DETAIL1 DETAIL2 POSTBREAK1 POSTBREAK2 TOTAL1 TOTAL2 "
                               "TOTAL3"_s);
    EXPECT_EQ(two.lines[5].Text, kDayTotals);
    EXPECT_EQ(two.lines[13].Text,
              u"Report Grand Totals:"_s + sp(43) +
                  cells({"10.5", "61.0", "13.3", "385.0", "402.0", "24.0", "5.9", "0.3"}));
    const QList<RtfParagraph> twoText = parseRtf(two.rtf);
    const QList<RtfParagraph> dayBreak = {{bold(kDayShares)}, {}, {}, {bold(u"01/06/1999"_s)}, {}};
    EXPECT_EQ(twoText.mid(10, 5), dayBreak);

    const BuiltReport none = BuildReport({}, {});
    EXPECT_EQ(parseRtf(none.rtf),
              QList<RtfParagraph>{{bold(u"No Data Available for the selected Date Range"_s)}});
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
    const QList<ReportRow> rows = reportRowsFrom(*rs);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].DietDate, kJan5);
    EXPECT_EQ(rows[0].FoodName + u'|' + rows[0].ServingSize, u"Apple|1 medium"_s);
    EXPECT_EQ(rows[0].NumServings, 1.5);
    // Report order: fat, carbohydrate, protein, calories, sodium, cholesterol, other 1, other 2.
    const std::array<std::optional<double>, RvCount> values = {1, 3, 2, 4, 5, 6, 7, 8};
    EXPECT_EQ(rows[0].values, values);
    EXPECT_EQ(rows[1].DietDate, kJan6);
    EXPECT_FALSE(rows[1].NumServings || rows[1].values[RvFat] || rows[1].values[RvOther2]);
}

TEST(ReportBuilder, CalorieSharesComeFromTheGrams) {
    // Fat 90, carbohydrate 80 and protein 20 of 190 calories, whatever the stored calories.
    EXPECT_EQ(calorieShares(10, 20, 5, 300), u"     47.4%     42.1%     10.5%"_s);
    EXPECT_EQ(calorieShares(10, 20, 5, 0), u"      0.0%      0.0%      0.0%"_s);
    EXPECT_EQ(calorieShares(0, 0, 0, 120), u"      0.0%      0.0%      0.0%"_s);
    // Halves as a reader sees them go away from zero; a minus stays only on what is left.
    EXPECT_EQ(fixedText(0.15, 1), u"0.2"_s);
    EXPECT_EQ(fixedText(1.005, 2), u"1.01"_s);
    EXPECT_EQ(fixedText(9.96, 1), u"10.0"_s);
    EXPECT_EQ(fixedText(-2.25, 1), u"-2.3"_s);
    EXPECT_EQ(fixedText(-0.04, 1), u"0.0"_s);
}

TEST(ReportBuilder, MissingValuesShowEmptyAndTooWideCellsShowHashesNeverACutFigure) {
    QList<ReportRow> rows = oneDay();
    rows.insert(1, row(kJan5, QString(), std::nullopt, QString(), {}));
    const BuiltReport report = BuildReport(rows, {});
    ASSERT_EQ(report.lines.size(), 12);
    EXPECT_EQ(report.lines[3], (PrintLine{u"DETAIL1"_s, sp(143)}));
    EXPECT_EQ(report.lines[4], (PrintLine{u"DETAIL2"_s, u"   []"_s}));
    EXPECT_EQ(report.lines[7].Text, kDayTotals); // the empty row counts as zero
    EXPECT_FALSE(report.rtf.contains(u"nan"_s, Qt::CaseInsensitive));

    const QString longName = QString(50, u'x') + u"ABCDEFGHIJ"_s;
    const QString longSize = u"  "_s + QString(45, u's') + u"  tail"_s;
    const BuiltReport wide = BuildReport(
        {row(kJan5, longName, 1234567, longSize, {123456789, -12345678.9, 1, 1, 1, 1, 1, 1})},
        {u"123456789"_s, u"Fibre"_s});
    const QString detail = wide.lines[1].Text;
    EXPECT_EQ(detail.left(55), QString(50, u'x') + u"ABCD "_s);
    // 1234567.00 is too wide for 8; 123456789.0 and -12345678.9 are too wide for 10.
    EXPECT_EQ(detail.mid(55, 38), QString(28, u'#') + u"       1.0"_s);
    EXPECT_EQ(wide.lines[2].Text, u"   ["_s + QString(45, u's') + u"  t]"_s);
    EXPECT_EQ(wide.lines[3].Text.mid(63, 20), QString(20, u'#'));
    EXPECT_EQ(parseRtf(wide.rtf).value(0), headings(u"12345678"_s, u"   Fibre"_s));
}
