// The real print path: Print pressed in the report window with a CUPS-PDF queue as the system's
// default printer, and the file the queue writes read back with poppler's tools. The words and
// columns are read from the PDF that Print writes without a printer (the queue's fonts cannot be
// read back as text).
#include "ReportWindowFixture.h"

#include "ReportOutput.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

namespace {

struct Output {
    bool ok = false;
    QByteArray out;
};

// Runs a program to its end; its error messages are shown only when asked for (pdfinfo complains
// about the file the queue is still writing).
Output run(const QString& program, const QStringList& args, bool showErrors = false) {
    QProcess p;
    p.setProcessChannelMode(showErrors ? QProcess::ForwardedErrorChannel
                                       : QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardOutput()};
}

int pdfPages(const QString& pdf) {
    const Output info = run(QStringLiteral("pdfinfo"), {pdf});
    const auto m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.out));
    return info.ok && m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The first and last pixel rows or columns with ink across the lines of page `page`, rendered
// at 72 dots per inch: the lines are stacked down the page's long side.
struct InkSpan {
    int first = -1;
    int last = -1;
};
InkSpan inkAcrossLines(const QString& pdf, int page, const QString& prefix) {
    const QString n = QString::number(page);
    if (!run(QStringLiteral("pdftoppm"),
             {QStringLiteral("-q"), QStringLiteral("-gray"), QStringLiteral("-r"),
              QStringLiteral("72"), QStringLiteral("-f"), n, QStringLiteral("-l"), n,
              QStringLiteral("-singlefile"), pdf, prefix})
             .ok)
        return {};
    QFile file(prefix + QStringLiteral(".pgm"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> header = file.readLine().trimmed() == "P5"
                                         ? file.readLine().trimmed().split(' ')
                                         : QList<QByteArray>();
    file.readLine(); // the maximum grey value
    if (header.size() != 2)
        return {};
    const int w = header[0].toInt(), h = header[1].toInt();
    const QByteArray pixels = file.read(qint64(w) * h);
    if (pixels.size() != qint64(w) * h)
        return {};
    // Landscape content on a portrait page is turned: its lines then run down the page.
    const bool turned = w < h;
    InkSpan span;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (quint8(pixels[y * w + x]) < 128) {
                const int across = turned ? x : y;
                span.first = span.first < 0 ? across : std::min(span.first, across);
                span.last = std::max(span.last, across);
            }
    return span;
}

} // namespace

TEST_F(ReportWindowTest, PrintGoesToTheDefaultCupsQueueAndItsPagesCarryHeaderAndFooter) {
    QTemporaryDir queueOut;
    ASSERT_TRUE(
        run(QStringLiteral("bash"), {QStringLiteral(FORKWISE_CUPS_SCRIPT), queueOut.path()}, true)
            .ok)
        << "the CUPS-PDF queue could not be set up (see the script's messages above)";
    QStringList rows;
    for (int i = 1; i <= 60; ++i)
        rows << reportRow(i, QStringLiteral("2026-01-0%1").arg(5 + i % 3),
                          QStringLiteral("Food %1").arg(i, 2, 10, QChar(u'0')));
    prepare(rows);
    start();
    Clock::setFixed(QDateTime(QDate(2026, 1, 12), QTime(9, 0)));

    std::shared_ptr<ReportPrinter> used;
    const PrinterFactory previous = setPrinterFactory([&](const QString& docName) {
        used = SystemDefaultPrinter(docName);
        return used;
    });
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    report("mnuToolsDietReport", QDate(2026, 1, 5), QDate(2026, 1, 11), [&](frmReport& f) {
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton); // no dialog: the handler would see it
        // The same pages again, now as if no printer were installed.
        setPrinterFactory([](const QString&) { return nullptr; });
        qputenv("HOME", home.path().toUtf8());
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
    });
    qputenv("HOME", oldHome);
    setPrinterFactory(previous);
    ASSERT_TRUE(used) << "no printer was found";
    EXPECT_TRUE(boxes.boxes().size() == 1u) << "only the PDF's message";
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
    // From the title's top to the footer's foot, in pixels at 72 dots per inch (20 twips each).
    used->setFontSize(8);
    const double line = used->textHeight(QStringLiteral("T"));
    const double topY = std::round(5 * line), bottomY = std::round(used->scaleHeight() - topY);
    const double expected = (bottomY + line - topY) / 20;
    for (int page = 1; page <= pages; ++page) {
        const InkSpan ink = inkAcrossLines(printed, page, home.filePath(QStringLiteral("page")));
        ASSERT_GE(ink.first, 0) << "page " << page << " is blank";
        EXPECT_NEAR(ink.last - ink.first, expected, line / 20) << "page " << page;
    }

    // The words and columns, read from the pages written without a printer.
    const QString pdf = QDir(home.path())
                            .filePath(QStringLiteral(
                                "Documents/Diet Activity Report 2026-01-05 to 2026-01-11.pdf"));
    const Output text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.ok);
    QStringList sheets = QString::fromUtf8(text.out).split(u'\f');
    sheets.removeAll(QString());
    ASSERT_EQ(sheets.size(), pdfPages(pdf));
    const QRegularExpression detail(QStringLiteral(
        "^Food \\d\\d +1\\.50 +2\\.0 +20\\.0 +5\\.0 +300\\.0 +10\\.0 +1\\.0 +3\\.0 +0\\.0$"));
    int details = 0;
    QString all;
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QStringList lines = sheets[i].split(u'\n');
        EXPECT_EQ(lines.first(), QStringLiteral("Forkwise 1.0 Diet Activity Report for User: "
                                                "User 1 for Date Range: 01/05/26 - 01/11/26"));
        const QString headings = lines.value(2).simplified();
        EXPECT_EQ(headings, QStringLiteral("Food Name Servings Fat Carbs Protein Calories Sodium "
                                           "Chol Fiber Sugars"));
        const qsizetype caloriesEnd = lines.value(2).indexOf(QStringLiteral("Calories")) + 8;
        for (const QString& l : lines)
            if (detail.match(l).hasMatch()) {
                ++details;
                // A figure ends under its heading (pdftotext places words to a character or two).
                EXPECT_NEAR(l.indexOf(QStringLiteral("300.0")) + 5, caloriesEnd, 3)
                    << l.toStdString();
            }
        const QStringList footer = lines.filter(QStringLiteral("Page %1 ").arg(i + 1));
        ASSERT_EQ(footer.size(), 1) << "page " << i + 1;
        EXPECT_TRUE(footer.first().trimmed().endsWith(QStringLiteral("01/12/2026")));
        all += sheets[i].simplified() + u' ';
    }
    EXPECT_EQ(details, 60);
    const QString shares = QStringLiteral("Calculated Percentage of Calories: 15.3% 67.8% 16.9%");
    for (const char* day : {"01/05/2026", "01/06/2026", "01/07/2026"}) {
        const QString date = QLatin1String(day);
        EXPECT_EQ(all.count(date), 2) << day; // the day's heading and its totals
        EXPECT_TRUE(all.contains(date +
                                 QStringLiteral(" Totals: 40.0 400.0 100.0 6000.0 200.0 "
                                                "20.0 60.0 0.0 ") +
                                 shares))
            << day;
    }
    EXPECT_TRUE(all.contains(QStringLiteral("Report Grand Totals: 120.0 1200.0 300.0 18000.0 "
                                            "600.0 60.0 180.0 0.0 ") +
                             shares));
    Clock::setFixed({});
}
