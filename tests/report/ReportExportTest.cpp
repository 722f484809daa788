// The report written to PDF and CSV files.
#include "ReportExport.h"
#include "PainterPrinter.h"
#include "ReportRows.h"

#include <QFile>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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
    const QList<PrintLine> lines = BuildReport(rows, {}).lines;
    const QString path = dir.filePath(u"report.pdf"_s);
    const PrintHeader header{u"Alice"_s, u"01/05/99 - 01/08/99"_s, {}};
    ASSERT_TRUE(ExportPdf(lines, header, QDate(2024, 2, 3), path, QPageSize(QPageSize::Letter)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // 40 entries over 4 days fill two pages of 50 lines and part of a third.
    const auto pages =
        QRegularExpression(u"/Type\\s*/Page[^s]"_s).globalMatch(QString::fromLatin1(pdf));
    int count = 0;
    for (auto it = pages; it.hasNext(); it.next())
        ++count;
    EXPECT_EQ(count, 3);

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
