// The report window driven from the main window: the range asked for, the report shown, printed
// on the default printer (a recording here), into a PDF without printers, and exported.
#include "ReportWindowFixture.h"

#include "CalorieChartView.h"
#include "MainLayout.h"
#include "Module1.h"
#include "MyTools.h"
#include "RecordingPrinter.h"
#include "ReportOutput.h"
#include "clsFWSDataSource.h"

#include "ReportTextView.h"
#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {
const QDate kLo(2026, 1, 5);
const QDate kHi(2026, 1, 11);

struct FailingPrinter : RecordingPrinter {
    bool endDoc() override { return false; }
};

QByteArray head(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(200) : QByteArray();
}
} // namespace

TEST_F(ReportWindowTest, TheReportOfARangeShowsAndPrintsOnTheDefaultPrinter) {
    // Marks of the rich text and characters beyond Latin-1 show and print as themselves.
    const QString odd = u"Back\\slash {curly} caf\u00e9 \u00bd cup \U0001F34E"_s;
    QStringList rows = {reportRow(20, u"2026-01-12"_s, u"Outside"_s),
                        dietRow(21, "USER2", "2026-01-06", "Theirs")};
    for (int i = 1; i <= 12; ++i)
        rows << reportRow(i, u"2026-01-0%1"_s.arg(i <= 8 ? 5 : 7),
                          i == 12 ? odd : u"Food %1"_s.arg(i, 2, 10, QChar(u'0')));
    prepare(rows);
    start();
    Clock::setFixed(QDateTime(QDate(2026, 1, 12), QTime(9, 0)));
    auto paper = std::make_shared<RecordingPrinter>(4000); // a short page: three pages or more
    std::shared_ptr<RecordingPrinter> printer = paper;
    QStringList jobs;
    setPrinterFactory([&](const QString& docName) {
        jobs << docName;
        return printer;
    });

    EXPECT_EQ(report("mnuToolsDietReport", kLo, kHi, {}, true), 1); // Cancel: no report
    const int dialogs = report("Report", kLo, kHi, [&](frmReport& f) {
        EXPECT_FALSE(enabled("mnuToolsDietReport"));
        EXPECT_FALSE(enabled("Report"));
        EXPECT_EQ(f.windowTitle(), u"Diet Activity Report  01/05/26 - 01/11/26"_s);
        const QString shown = f.rtReport->toPlainText();
        EXPECT_TRUE(shown.contains(u"01/05/2026\n\nFood 01"_s));
        EXPECT_TRUE(shown.contains(u"\n"_s + odd + u"   "_s));
        EXPECT_FALSE(shown.contains(u"Outside"_s) || shown.contains(u"Theirs"));
        // The text takes what the chart's band below it leaves.
        f.resize(900, 600);
        EXPECT_EQ(f.rtReport->size(),
                  QSize(900 - Twips::toPixels(200, &f),
                        600 - Twips::toPixels(1000, &f) - Twips::toPixels(2220, &f)));
        EXPECT_EQ(f.picCalories->geometry(),
                  QRect(f.rtReport->x(),
                        f.rtReport->geometry().bottom() + 1 + Twips::toPixels(120, &f),
                        f.rtReport->width(), Twips::toPixels(2100, &f)));

        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        EXPECT_EQ(jobs, QStringList{u"Diet Activity Report 2026-01-05 to 2026-01-11"_s});
        EXPECT_TRUE(paper->landscape);
        EXPECT_EQ(paper->endDocs, 1);
        EXPECT_GE(paper->page(), 3); // each page's header and footer: ReportPrinting, CUPS
        EXPECT_EQ(std::count_if(paper->lines.cbegin(), paper->lines.cend(),
                                [&](const auto& l) {
                                    return l.text.startsWith(gTools.PadR(odd, 54) + u' ');
                                }),
                  1);
        EXPECT_TRUE(boxes.boxes().empty());

        printer = std::make_shared<FailingPrinter>(); // says so; the window stays to try again
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt, u"An Error occurred while printing.  "_s);
        EXPECT_EQ(boxes.boxes()[0].title, u"Printing Error"_s);
    });
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(enabled("mnuToolsDietReport") && enabled("Report"));
    EXPECT_FALSE(gDataSource->rscmdDietReport->isOpen());

    // A range without entries (here one backwards) says so and cannot be printed or exported.
    report("mnuToolsDietReport", kHi, kLo, [](frmReport& f) {
        EXPECT_EQ(f.rtReport->toPlainText(), u"No Data Available for the selected Date Range"_s);
        EXPECT_FALSE(f.cmdPrint->isEnabled() || f.cmdExport->isEnabled());
    });
    setPrinterFactory({});
    Clock::setFixed({});
}

TEST_F(ReportWindowTest, WithoutPrintersPrintWritesANewPdfEachTimeAndExportWritesTheChosenFile) {
    prepare({reportRow(1, u"2026-01-06"_s, u"Apple"_s)});
    start();
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    setPrinterFactory([](const QString&) { return nullptr; });
    const QString pdf = home.filePath(QStringLiteral("Documents/Diet Activity Report 2026-01-05 "
                                                     "to 2026-01-11"));
    QStringList chosen = {QString(), home.filePath(u"out.csv"_s), home.filePath(u"out.pdf"_s),
                          home.filePath(u"missing/out.pdf"_s)};
    setExportFileChooser([&](QWidget*, const QString& suggested) {
        EXPECT_EQ(suggested, pdf);
        return chosen.takeFirst();
    });

    report("mnuToolsDietReport", kLo, kHi, [&](frmReport& f) {
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        ASSERT_EQ(boxes.boxes().size(), 2u);
        const QString first = pdf + u".pdf"_s, second = pdf + u" (2).pdf"_s;
        EXPECT_TRUE(head(first).startsWith("%PDF-") && head(second).startsWith("%PDF-"));
        EXPECT_TRUE(boxes.boxes()[0].prompt.endsWith(QDir::toNativeSeparators(first)));
        EXPECT_TRUE(boxes.boxes()[1].prompt.endsWith(QDir::toNativeSeparators(second)));
        boxes.clear();

        for (int i = 0; i < 4; ++i) // cancelled, CSV, PDF, a folder that is not there
            QTest::mouseClick(f.cmdExport, Qt::LeftButton);
        EXPECT_TRUE(head(home.filePath(u"out.csv"_s))
                        .startsWith("Date,Food Name,Servings,Serving Size,Fat,Carbs,Protein,"
                                    "Calories,Sodium,Chol,Fiber,Sugars\r\n2026-01-06,Apple,"));
        EXPECT_TRUE(head(home.filePath(u"out.pdf"_s)).startsWith("%PDF-"));
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].title, u"Export Error"_s);
    });
    setExportFileChooser({});
    setPrinterFactory({});
    qputenv("HOME", oldHome);
}
