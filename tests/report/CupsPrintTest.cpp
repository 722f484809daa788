// The real print path: Print pressed in the report window with a CUPS-PDF queue as the system's
// default printer, and the file the queue writes read back with poppler's tools. Words and
// columns are read from the same pages written without a printer: the queue's fonts cannot be
// read back as text.
#include "ReportWindowFixture.h"

#include "ReportOutput.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

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
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdf})));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The distance from the first to the last ink across the lines of a page rendered at 72 dots
// per inch; landscape content on a portrait page is turned, its lines running down the page.
int inkSpan(const QString& pdf, int page, const QString& prefix) {
    const QString n = QString::number(page);
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-q"), QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("72"),
         QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-singlefile"), pdf,
         prefix});
    const QImage image(prefix + QStringLiteral(".pgm"));
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
    QTemporaryDir queueOut, home;
    ASSERT_FALSE(
        run(QStringLiteral("bash"), {QStringLiteral(FORKWISE_CUPS_SCRIPT), queueOut.path()}, true)
            .isEmpty())
        << "the CUPS-PDF queue could not be set up (see the script's messages above)";
    QStringList rows;
    for (int i = 1; i <= 60; ++i)
        rows << reportRow(i, QStringLiteral("2026-01-0%1").arg(5 + i % 3),
                          QStringLiteral("Food %1").arg(i, 2, 10, QChar(u'0')));
    prepare(rows);
    start();
    Clock::setFixed(QDateTime(QDate(2026, 1, 12), QTime(9, 0)));
    std::shared_ptr<ReportPrinter> used;
    setPrinterFactory([&](const QString& docName) { return used = SystemDefaultPrinter(docName); });
    const QByteArray oldHome = qgetenv("HOME");
    report("mnuToolsDietReport", QDate(2026, 1, 5), QDate(2026, 1, 11), [&](frmReport& f) {
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton); // a dialog would have met the handler
        // The same pages again, as if no printer were installed.
        setPrinterFactory([](const QString&) { return nullptr; });
        qputenv("HOME", home.path().toUtf8());
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
    });
    qputenv("HOME", oldHome);
    setPrinterFactory({});
    ASSERT_TRUE(used) << "no printer was found";
    EXPECT_EQ(boxes.boxes().size(), 1u) << "only the message of the PDF";
    const int pages = used->page();
    EXPECT_GE(pages, 3);

    // The queue writes its file a moment later; it is whole once pdfinfo can read it.
    QString printed;
    for (int i = 0; i < 300 && printed.isEmpty(); ++i) {
        const QStringList pdfs = QDir(queueOut.path()).entryList({QStringLiteral("*.pdf")});
        if (!pdfs.isEmpty() && pdfPages(queueOut.filePath(pdfs.first())) > 0)
            printed = queueOut.filePath(pdfs.first());
        else
            QTest::qWait(200);
    }
    ASSERT_FALSE(printed.isEmpty()) << "the queue wrote no file";
    EXPECT_EQ(pdfPages(printed), pages);
    // From the title's top to the footer's foot, at 20 twips a pixel, within a line.
    used->setFontSize(8);
    const double line = used->textHeight(QStringLiteral("T"));
    const double topY = std::round(5 * line), bottomY = std::round(used->scaleHeight() - topY);
    for (int page = 1; page <= pages; ++page)
        EXPECT_NEAR(inkSpan(printed, page, home.filePath(QStringLiteral("page"))),
                    (bottomY + line - topY) / 20, line / 20)
            << "page " << page;

    const QString pdf = home.filePath(
        QStringLiteral("Documents/Diet Activity Report 2026-01-05 to 2026-01-11.pdf"));
    QStringList sheets =
        QString::fromUtf8(
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}))
            .split(u'\f');
    sheets.removeLast(); // after the last page's form feed
    ASSERT_EQ(sheets.size(), pdfPages(pdf));
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
        const qsizetype caloriesEnd = lines.value(2).indexOf(QStringLiteral("Calories")) + 8;
        for (const QString& l : lines) {
            if (!detail.match(l).hasMatch())
                continue;
            ++details;
            EXPECT_NEAR(l.indexOf(QStringLiteral("300.0")) + 5, caloriesEnd, 3);
        }
        EXPECT_EQ(
            lines.filter(QRegularExpression(QStringLiteral("^Page %1 +01/12/2026 *$").arg(i + 1)))
                .size(),
            1)
            << "page " << i + 1;
        all += sheets[i].simplified() + u' ';
    }
    EXPECT_EQ(details, 60);
    const QString shares = QStringLiteral(" Calculated Percentage of Calories: 15.3% 67.8% 16.9%");
    for (const QString& day :
         QStringList{QStringLiteral("01/05/2026"), QStringLiteral("01/06/2026"),
                     QStringLiteral("01/07/2026")}) {
        EXPECT_EQ(all.count(day), 2) << "the heading and the totals of " << day.toStdString();
        EXPECT_TRUE(all.contains(
            day + QStringLiteral(" Totals: 40.0 400.0 100.0 6000.0 200.0 20.0 60.0 0.0") + shares));
    }
    EXPECT_TRUE(all.contains(
        QStringLiteral("Report Grand Totals: 120.0 1200.0 300.0 18000.0 600.0 60.0 180.0 0.0") +
        shares));
    Clock::setFixed({});
}
