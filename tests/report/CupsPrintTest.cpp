// The real print path: Print pressed in the report window with a PDF queue as the default printer
// of a scheduler of the test's own, and the file the queue writes read back with poppler's tools:
// its pages, where the ink lies on each, and its words and columns.
#include "ReportWindowFixture.h"

#include "CupsScheduler.h"
#include "ReportOutput.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A program's output, empty when it failed. Its error messages show only when asked for:
// pdfinfo complains about the file the queue is still writing.
QByteArray run(const QString& program, const QStringList& args, bool showErrors = false) {
    QProcess p;
    p.setProcessChannelMode(showErrors ? QProcess::ForwardedErrorChannel
                                       : QProcess::SeparateChannels);
    p.start(program, args);
    const bool ok =
        p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? p.readAllStandardOutput() + ' ' : QByteArray();
}

int pdfPages(const QString& pdf) {
    const auto m = QRegularExpression(u"Pages:\\s+(\\d+)"_s)
                       .match(QString::fromUtf8(run(u"pdfinfo"_s, {pdf})));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The distance from the first to the last ink across the lines of a page rendered at 72 dots
// per inch; landscape content on a portrait page is turned, its lines running down the page.
int inkSpan(const QString& pdf, int page, const QString& prefix) {
    const QString n = QString::number(page);
    run(u"pdftoppm"_s, {u"-q"_s, u"-gray"_s, u"-r"_s, u"72"_s, u"-f"_s, n, u"-l"_s, n,
                        u"-singlefile"_s, pdf, prefix});
    const QImage image(prefix + u".pgm"_s);
    const bool turned = image.width() < image.height();
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                const int across = turned ? x : y;
                first = first < 0 ? across : std::min(first, across);
                last = std::max(last, across);
            }
    return first < 0 ? -1 : last - first;
}

} // namespace

TEST_F(ReportWindowTest, PrintGoesToTheDefaultCupsQueueAndItsPagesCarryHeaderAndFooter) {
    QTemporaryDir folder;
    CupsScheduler cups(folder.path());
    ASSERT_TRUE(cups.error().isEmpty())
        << "the test's own print scheduler could not be set up: " << qPrintable(cups.error());
    QStringList rows;
    for (int i = 1; i <= 60; ++i)
        rows << reportRow(i, u"2026-01-0%1"_s.arg(5 + i % 3),
                          u"Food %1"_s.arg(i, 2, 10, QChar(u'0')));
    prepare(rows);
    start();
    Clock::setFixed(QDateTime(QDate(2026, 1, 12), QTime(9, 0)));
    std::shared_ptr<ReportPrinter> used;
    setPrinterFactory([&](const QString& docName) { return used = systemDefaultPrinter(docName); });
    report("mnuToolsDietReport", QDate(2026, 1, 5), QDate(2026, 1, 11), [&](frmReport& f) {
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton); // a dialog would have met the handler
    });
    setPrinterFactory({});
    ASSERT_TRUE(used) << "no printer was found";
    EXPECT_TRUE(boxes.boxes().empty());
    const int pages = used->page();
    EXPECT_GE(pages, 3);

    ASSERT_TRUE(cups.waitUntilIdle()) << "the queue wrote no file";
    const QString printed = cups.printed();
    ASSERT_EQ(pdfPages(printed), pages);
    // From the title's top to the footer's foot, at 20 twips a pixel, within a line.
    used->setFontSize(8);
    const double line = used->textHeight(u"T"_s);
    const double topY = std::round(5 * line), bottomY = std::round(used->scaleHeight() - topY);
    for (int page = 1; page <= pages; ++page)
        EXPECT_NEAR(inkSpan(printed, page, folder.filePath(u"page"_s)),
                    (bottomY + line - topY) / 20, line / 20)
            << "page " << page;

    QStringList sheets =
        QString::fromUtf8(run(u"pdftotext"_s, {u"-layout"_s, printed, u"-"_s})).split(u'\f');
    sheets.removeLast(); // after the last page's form feed
    ASSERT_EQ(sheets.size(), pages);
    const QRegularExpression detail(QStringLiteral(
        "^Food \\d\\d +1\\.50 +2\\.0 +20\\.0 +5\\.0 +300\\.0 +10\\.0 +1\\.0 +3\\.0 +0\\.0$"));
    int details = 0;
    QString all;
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QStringList lines = sheets[i].split(u'\n');
        EXPECT_EQ(lines[0], QStringLiteral("Forkwise 1.0 Diet Activity Report for User: User 1 "
                                           "for Date Range: 01/05/26 - 01/11/26"));
        EXPECT_EQ(lines.value(2).simplified(), QStringLiteral("Food Name Servings Fat Carbs "
                                                              "Protein Calories Sodium Chol "
                                                              "Fiber Sugars"));
        // A figure ends under its heading (pdftotext places words to a character or two).
        const qsizetype caloriesEnd = lines.value(2).indexOf(u"Calories"_s) + 8;
        for (const QString& l : lines) {
            if (!detail.match(l).hasMatch())
                continue;
            ++details;
            EXPECT_NEAR(l.indexOf(u"300.0"_s) + 5, caloriesEnd, 3);
        }
        EXPECT_EQ(lines.filter(QRegularExpression(u"^Page %1 +01/12/2026 *$"_s.arg(i + 1))).size(),
                  1)
            << "page " << i + 1;
        all += sheets[i].simplified() + u' ';
    }
    EXPECT_EQ(details, 60);
    // Each day's heading and totals line, and the grand totals, with the shares of all three.
    for (const QString& day : {u"01/05/2026"_s, u"01/06/2026"_s, u"01/07/2026"_s})
        EXPECT_EQ(all.count(day), 2) << "the heading and the totals of " << day.toStdString();
    EXPECT_TRUE(all.contains(u"01/07/2026 Totals: 40.0 400.0 100.0 6000.0 200.0 20.0 60.0 0.0 "
                             "Calculated Percentage of Calories: 15.3% 67.8% 16.9%"_s));
    EXPECT_TRUE(all.contains(u"Report Grand Totals: 120.0 1200.0 300.0 18000.0 600.0 60.0 180.0 "
                             "0.0 Calculated Percentage of Calories: 15.3% 67.8% 16.9%"_s));
    Clock::setFixed({});
}
