// The report printed in pages (what is printed where, in which emphasis, on which page) and
// written to PDF and CSV files.
#include "CalorieChart.h"
#include "PainterPrinter.h"
#include "RecordingPrinter.h"
#include "ReportExport.h"
#include "ReportRows.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const PrintHeader kHeader{u"Alice"_s, u"01/05/99 - 01/11/99"_s, {u"Fiber grams"_s, u"Sugar"_s}};
const QDate kPrintDate{2024, 2, 3};
const QString kTitle =
    u"Forkwise 1.0 Diet Activity Report for User: Alice for Date Range: 01/05/99 - 01/11/99"_s;

// "page @x,y flags text": b bold, u underlined, the size when it is not 8 points. Empty lines
// show only where they are.
QString describe(const RecordingPrinter::Line& l) {
    QString s = QStringLiteral("%1 @%2,%3").arg(l.page).arg(l.x).arg(l.y);
    if (l.text.isEmpty())
        return s;
    s += u' ' + QString(l.bold ? u"b"_s : u"-"_s) + (l.underline ? u"u"_s : u"-"_s);
    if (l.points != 8)
        s += QStringLiteral(" %1pt").arg(l.points);
    return s + u' ' + l.text + (l.endLine ? u""_s : u" ..."_s);
}

QStringList describe(const RecordingPrinter& p) {
    QStringList out;
    for (const auto& l : p.lines)
        out << describe(l);
    return out;
}

QString footer(int page) {
    const QString number = u"Page "_s + QString::number(page);
    return number + sp(133 - number.size()) + u"02/03/2024"_s;
}

} // namespace

// With 96 twips a character, 181 a line and 11520 printable: TopY 905, BottomY 10615, 54 lines
// a page, a new page when 50 have been printed.
TEST(ReportPrinting, OneEntryPrintsOnOnePageWithHeaderHeadingsAndFooter) {
    const PrintLineList lines = BuildReport({oneDay().first()}, kHeader.labels).lines;
    ASSERT_EQ(lines.size(), 8);
    RecordingPrinter printer;
    ASSERT_TRUE(PrintReport(lines, kHeader, kPrintDate, printer));
    EXPECT_TRUE(printer.landscape);
    EXPECT_EQ(printer.fontName, u"Liberation Mono"_s);
    EXPECT_EQ(printer.endDocs, 1);

    // The headings, a label's last 8 characters on paper, then the day, its entry and totals.
    QStringList expected = {u"1 @800,905 b- 10pt "_s + kTitle, u"1 @0,1131.25"_s, u"1 @0,1312.25"_s,
                            u"1 @800,1493.25 bu Food Name ..."_s};
    int x = 6080;
    for (const char* h : {"Servings", "     Fat", "   Carbs", " Protein", "Calories", "  Sodium",
                          "    Chol", "er grams", "   Sugar"}) {
        expected << u"1 @%1,1493.25 bu %2 ..."_s.arg(x).arg(QLatin1StringView(h));
        x += 960;
    }
    expected.last().chop(4);
    double y = 1674.25;
    for (const QString& l :
         {QString(), u"b- 01/05/1999"_s, QString(), u"-- "_s + lines[1].Text,
          u"-- "_s + lines[2].Text, QString(), u"b- "_s + lines[3].Text, u"b- "_s + lines[4].Text,
          QString(), QString(), u"bu "_s + sp(143), QString(), u"b- "_s + lines[6].Text, QString(),
          u"b- "_s + lines[7].Text}) {
        expected << u"1 @%1,%2"_s.arg(l.isEmpty() ? 0 : 800).arg(y) +
                        (l.isEmpty() ? u""_s : u' ' + l);
        y += 181;
    }
    expected << u"1 @800,10615 b- "_s + footer(1);
    EXPECT_EQ(describe(printer), expected);
}

TEST(ReportPrinting, LongReportsRepeatTheHeaderOnEveryPageAndNeverSplitAPair) {
    QList<ReportRow> rows;
    for (int i = 1; i <= 60; ++i)
        rows << row(kJan5, u"Food %1"_s.arg(i, 2, 10, QChar(u'0')), 1, u"size %1"_s.arg(i),
                    {1, 1, 1, 1, 1, 1, 1, 1});
    rows << row(kJan6, u"Milk"_s, 1, u"1 cup"_s, {1, 1, 1, 1, 1, 1, 1, 1});
    const PrintLineList lines = BuildReport(rows, kHeader.labels).lines;
    RecordingPrinter printer;
    ASSERT_TRUE(PrintReport(lines, kHeader, kPrintDate, printer));
    const auto& printed = printer.lines;

    // Page 1 holds entries 1-21 (50 lines), page 2 entries 22-44, page 3 the rest of the first
    // day and the second day to its totals (50 lines again), page 4 the grand totals.
    ASSERT_EQ(printed.last().page, 4);
    QStringList firstEntries;
    const QRegularExpression entry(u"^(Food \\d\\d|Milk) "_s);
    for (int page = 1; page <= 4; ++page) {
        QList<RecordingPrinter::Line> on;
        for (const auto& l : printed)
            if (l.page == page)
                on << l;
        EXPECT_EQ(describe(on.first()), u"%1 @800,905 b- 10pt "_s.arg(page) + kTitle);
        EXPECT_EQ(describe(on[3]), u"%1 @800,1493.25 bu Food Name ..."_s.arg(page));
        EXPECT_EQ(describe(on[12]), u"%1 @13760,1493.25 bu    Sugar"_s.arg(page));
        EXPECT_EQ(describe(on.last()), u"%1 @800,10615 b- "_s.arg(page) + footer(page));
        for (const auto& l : on)
            if (entry.match(l.text).hasMatch()) {
                firstEntries << l.text.left(7);
                break;
            }
        EXPECT_LT(on[on.size() - 2].y, 10615) << "page " << page;
    }
    EXPECT_EQ(firstEntries, QStringList({u"Food 01"_s, u"Food 22"_s, u"Food 45"_s}));

    // An entry's serving size and a day's calorie shares follow their first line at once.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].Tag != u"DETAIL1"_s && lines[i].Tag != u"POSTBREAK1"_s)
            continue;
        const auto at = std::find_if(printed.cbegin(), printed.cend(),
                                     [&](const auto& l) { return l.text == lines[i].Text; });
        ASSERT_NE(at, printed.cend());
        ASSERT_NE(at + 1, printed.cend());
        EXPECT_EQ((at + 1)->text, lines[i + 1].Text);
        EXPECT_EQ((at + 1)->page, at->page);
    }
    const auto total1 = std::find_if(printed.cbegin(), printed.cend(),
                                     [](const auto& l) { return l.text == sp(143); });
    EXPECT_EQ(total1->page, 4);
}

TEST(ReportExport, PdfPagesAreLandscapeWithColumnsMeasuredInTwips) {
    QTemporaryDir dir;
    {
        QPdfWriter writer(dir.filePath(u"metrics.pdf"_s));
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
        PainterPrinter printer(writer);
        printer.setLandscape();
        printer.setFontName(u"Liberation Mono"_s);
        printer.setFontSize(8);
        // 8 points of a font whose characters are 0.6 em wide: 96 twips, whatever the device.
        EXPECT_NEAR(printer.textWidth(u"T"_s), 96, 0.5);
        EXPECT_NEAR(printer.textWidth(QString(143, u'x')), 143 * 96,
                    5); // no drift across the table
        EXPECT_NEAR(printer.textHeight(u"T"_s), 181, 2);
        EXPECT_NEAR(printer.scaleHeight(), 8 * 1440, 2); // 8.5 inches less the margins
        EXPECT_TRUE(printer.endDoc());
    }

    QList<ReportRow> rows;
    for (int i = 0; i < 40; ++i)
        rows << row(QDate(1999, 1, 5 + i / 10), u"Food"_s, 1, u"1 cup"_s, {1, 2, 3, 4, 5, 6, 7, 8});
    const PrintLineList lines = BuildReport(rows, {}).lines;
    const QString path = dir.filePath(u"report.pdf"_s);
    const PrintHeader header{u"Alice"_s, u"01/05/99 - 01/08/99"_s, {}};
    ASSERT_TRUE(ExportPdf(lines, header, QDate(2024, 2, 3), path, QPageSize(QPageSize::Letter)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // 40 entries over 4 days fill two pages of 50 lines and part of a third.
    EXPECT_EQ(pdf.count("/Type /Page\n"), 3);

    EXPECT_FALSE(ExportPdf(lines, header, QDate(2024, 2, 3), dir.filePath(u"no/such/x.pdf"_s)));
}

TEST(ReportExport, CsvQuotesFieldsAndListsEntriesThenTotals) {
    const QList<ReportRow> rows = {
        row(kJan5, u"Crème pie, \"Mom's\"\nbest"_s, 1.5, u"1 slice"_s, {1, 2, 3, 4, 5, 6, {}, {}}),
        row(kJan6, QString(), std::nullopt, QString(), {})};
    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.csv"_s);
    ASSERT_TRUE(ExportCsv(rows, {u"Fiber"_s, u"a,b"_s}, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              "Date,Food Name,Servings,Serving Size,Fat,Carbs,Protein,Calories,Sodium,Chol,Fiber,"
              "\"a,b\"\r\n"
              "1999-01-05,\"Cr\xc3\xa8me pie, \"\"Mom's\"\"\nbest\",1.50,1 slice,1.0,2.0,3.0,4.0,"
              "5.0,6.0,,\r\n"
              "1999-01-06,,,,,,,,,,,\r\n"
              "1999-01-05,Day Totals,,,1.0,2.0,3.0,4.0,5.0,6.0,0.0,0.0\r\n"
              "1999-01-06,Day Totals,,,0.0,0.0,0.0,0.0,0.0,0.0,0.0,0.0\r\n"
              ",Report Grand Totals,,,1.0,2.0,3.0,4.0,5.0,6.0,0.0,0.0\r\n");
    EXPECT_FALSE(ExportCsv(rows, {}, dir.filePath(u"no/such/report.csv"_s)));
}

TEST(ReportExport, TheChartGetsOneMorePageUnderTheSameHeaderAndFooter) {
    const PrintLineList lines = BuildReport(oneDay(), kHeader.labels).lines;
    const ChartData chart{{{kJan5, 2.5, 49, 5.3, 235}}, kJan5, kJan6};
    RecordingPrinter printer;
    ASSERT_TRUE(PrintReport(lines, kHeader, kPrintDate, printer, &chart));
    ASSERT_EQ(printer.charts.size(), 1);
    EXPECT_EQ(printer.charts[0].page, 2);
    // Between the column headings (their line at 1493.25) and the footer, as wide as the table.
    EXPECT_EQ(printer.charts[0].area, QRectF(800, 1855.25, 143 * 96, 10615 - 181 - 1855.25));
    QStringList second;
    for (const auto& l : printer.lines)
        if (l.page == 2)
            second << describe(l);
    ASSERT_EQ(second.size(), 14);
    EXPECT_EQ(second.first(), u"2 @800,905 b- 10pt "_s + kTitle);
    EXPECT_EQ(second[3], u"2 @800,1493.25 bu Food Name ..."_s);
    EXPECT_EQ(second.last(), u"2 @800,10615 b- "_s + footer(2));

    // Into a PDF: the table's page and the chart's.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"chart.pdf"_s);
    ASSERT_TRUE(ExportPdf(lines, kHeader, kPrintDate, path, QPageSize(QPageSize::Letter), &chart));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("/Type /Page\n"), 2);
}

TEST(ReportTargets, EachDayClosesWithItsPercentsOnTheSamePageAndInTheCsv) {
    ReportTargets targets{};
    targets[RvFat] = 8;       // 2.5 g: 31%; 1 g: 12.5%, half up to 13%
    targets[RvCalorie] = 200; // 235 kcal: 117.5%, to 118%
    QList<ReportRow> rows = oneDay();
    rows << row(kJan6, u"Milk"_s, 1, u"1 cup"_s, {1, 1, 1, 1, 1, 1, 1, 1});
    const PrintLineList lines = BuildReport(rows, kHeader.labels, targets).lines;
    QStringList tags, percents;
    for (const PrintLine& l : lines.toList()) {
        tags << l.Tag;
        if (l.Tag == u"POSTBREAK3"_s)
            percents << l.Text;
    }
    EXPECT_EQ(tags.join(u' '), u"PREBREAK DETAIL1 DETAIL2 DETAIL1 DETAIL2 POSTBREAK1 POSTBREAK2 "
                               "POSTBREAK3 PREBREAK DETAIL1 DETAIL2 POSTBREAK1 POSTBREAK2 "
                               "POSTBREAK3 TOTAL1 TOTAL2 TOTAL3"_s);
    const QString label = u"% of Daily Target:"_s + sp(45);
    EXPECT_EQ(percents, QStringList({label + cells({"31%", "", "", "118%", "", "", "", ""}),
                                     label + cells({"13%", "", "", "1%", "", "", "", ""})}));

    // Wherever the pages break, a day's closing lines stay together above the footer.
    QList<ReportRow> many;
    for (int i = 0; i < 120; ++i)
        many << row(kJan5.addDays(i / 5), u"Food"_s, 1, u"1"_s, {1, 1, 1, 1, 1, 1, 1, 1});
    RecordingPrinter printer;
    ASSERT_TRUE(PrintReport(BuildReport(many, {}, targets).lines, kHeader, kPrintDate, printer));
    const auto& printed = printer.lines;
    for (qsizetype i = 0; i < printed.size(); ++i)
        if (printed[i].text.startsWith(u"% of Daily"_s)) {
            EXPECT_TRUE(printed[i - 2].text.contains(u"Totals:"_s) &&
                        printed[i - 2].page == printed[i].page && printed[i].y < 10615);
        }

    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.csv"_s);
    ASSERT_TRUE(ExportCsv(rows, {u"Fiber"_s, u"Sugar"_s}, path, targets));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        file.readAll().contains("1999-01-05,Day Totals,,,2.5,49.0,5.3,235.0,302.0,0.0,5.9,0.3\r\n"
                                "1999-01-05,% of Daily Target,,,31,,,118,,,,\r\n"
                                "1999-01-06,Day Totals,,,1.0,1.0,1.0,1.0,1.0,1.0,1.0,1.0\r\n"
                                "1999-01-06,% of Daily Target,,,13,,,1,,,,\r\n"
                                ",Report Grand Totals,"));
}
