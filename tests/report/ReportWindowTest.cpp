// The report window driven from the main window: the range asked for, the report shown, printed
// on the default printer (a recording here), into a PDF without printers, and exported.
#include "ReportWindowFixture.h"

#include "MainLayout.h"
#include "Module1.h"
#include "MyTools.h"
#include "RecordingPrinter.h"
#include "ReportOutput.h"
#include "clsFWSDataSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>

namespace {

const QDate kLo(2026, 1, 5);
const QDate kHi(2026, 1, 11);
const QString kTitle = QStringLiteral(
    "Forkwise 1.0 Diet Activity Report for User: User 1 for Date Range: 01/05/26 - 01/11/26");

struct FailingPrinter : RecordingPrinter {
    bool endDoc() override { return false; }
};

// The texts printed on `page` of `printer`.
QStringList pageTexts(const RecordingPrinter& printer, int page) {
    QStringList texts;
    for (const RecordingPrinter::Line& line : printer.lines)
        if (line.page == page && !line.text.isEmpty())
            texts << line.text;
    return texts;
}

class RecordedPrinting {
public:
    RecordedPrinting() {
        previous_ = setPrinterFactory([this](const QString& docName) {
            docNames << docName;
            return printer;
        });
    }
    ~RecordedPrinting() { setPrinterFactory(previous_); }
    std::shared_ptr<RecordingPrinter> printer = std::make_shared<RecordingPrinter>(4000);
    QStringList docNames;

private:
    PrinterFactory previous_;
};

} // namespace

TEST_F(ReportWindowTest, TheReportOfARangeShowsAndPrintsOnTheDefaultPrinter) {
    QStringList rows;
    for (int i = 1; i <= 12; ++i)
        rows << reportRow(i, i <= 8 ? QStringLiteral("2026-01-05") : QStringLiteral("2026-01-07"),
                          QStringLiteral("Food %1").arg(i, 2, 10, QChar(u'0')));
    rows << reportRow(20, QStringLiteral("2026-01-12"), QStringLiteral("Outside"))
         << dietRow(21, "USER2", "2026-01-06", "Theirs");
    prepare(rows);
    start();
    Clock::setFixed(QDateTime(QDate(2026, 1, 12), QTime(9, 0)));
    RecordedPrinting printing;

    // Cancel: no report.
    EXPECT_EQ(report("mnuToolsDietReport", kLo, kHi, {}, true), 1);

    const int dialogs = report("Report", kLo, kHi, [&](frmReport& f) {
        EXPECT_FALSE(enabled("mnuToolsDietReport"));
        EXPECT_FALSE(enabled("Report"));
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Diet Activity Report  01/05/26 - 01/11/26"));
        EXPECT_EQ(f.strDateRange, QStringLiteral("01/05/26 - 01/11/26"));
        const QString shown = f.rtReport->toPlainText();
        EXPECT_TRUE(shown.contains(QStringLiteral("01/05/2026\n\nFood 01")));
        EXPECT_TRUE(shown.contains(QStringLiteral("01/07/2026 Totals:")));
        EXPECT_FALSE(shown.contains(QStringLiteral("Outside")));
        EXPECT_FALSE(shown.contains(QStringLiteral("Theirs")));
        EXPECT_TRUE(f.rtReport->isReadOnly());
        EXPECT_EQ(f.rtReport->lineWrapMode(), QTextEdit::NoWrap);
        f.resize(900, 500);
        EXPECT_EQ(f.rtReport->width(), 900 - Twips::toPixels(200, &f));
        EXPECT_EQ(f.rtReport->height(), 500 - Twips::toPixels(1000, &f));

        ASSERT_TRUE(f.cmdPrint->isEnabled());
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        const RecordingPrinter& paper = *printing.printer;
        EXPECT_TRUE(paper.landscape);
        EXPECT_EQ(paper.endDocs, 1);
        const int pages = paper.page();
        EXPECT_GE(pages, 2);
        for (int page = 1; page <= pages; ++page) {
            const QStringList texts = pageTexts(paper, page);
            ASSERT_FALSE(texts.isEmpty()) << page;
            EXPECT_EQ(texts.first(), kTitle) << page;
            EXPECT_TRUE(texts.contains(QStringLiteral("Food Name"))) << page;
            EXPECT_EQ(texts.last(), gTools.PadR(QStringLiteral("Page %1").arg(page), 133) +
                                        QStringLiteral("01/12/2026"))
                << page;
        }
        EXPECT_EQ(printing.docNames,
                  QStringList{QStringLiteral("Diet Activity Report 2026-01-05 to 2026-01-11")});
        EXPECT_TRUE(boxes.boxes().empty());

        // A printer that fails says so, and the window stays to try again.
        printing.printer = std::make_shared<FailingPrinter>();
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].prompt, QStringLiteral("An Error occurred while printing.  "));
        EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Printing Error"));
        EXPECT_TRUE(f.isVisible());
    });
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(enabled("mnuToolsDietReport"));
    EXPECT_TRUE(enabled("Report"));
    EXPECT_FALSE(gDataSource->rscmdDietReport->isOpen());

    // A range without entries (here one backwards) says so and cannot be printed or exported.
    report("mnuToolsDietReport", kHi, kLo, [](frmReport& f) {
        EXPECT_EQ(f.rtReport->toPlainText(),
                  QStringLiteral("No Data Available for the selected Date Range"));
        EXPECT_FALSE(f.cmdPrint->isEnabled());
        EXPECT_FALSE(f.cmdExport->isEnabled());
        EXPECT_TRUE(f.PrintLines.isEmpty());
    });
    Clock::setFixed({});
}

TEST_F(ReportWindowTest, WithoutPrintersPrintWritesANewPdfEachTimeAndExportWritesTheChosenFile) {
    prepare({reportRow(1, QStringLiteral("2026-01-06"), QStringLiteral("Apple"))});
    start();
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    const PrinterFactory oldFactory = setPrinterFactory([](const QString&) { return nullptr; });
    const QString documents = QDir(home.path()).filePath(QStringLiteral("Documents"));
    QStringList chosen = {QString(), home.filePath(QStringLiteral("out.csv")),
                          home.filePath(QStringLiteral("out.pdf")),
                          home.filePath(QStringLiteral("missing/out.pdf"))};
    const ExportFileChooser oldChooser =
        setExportFileChooser([&](QWidget*, const QString& suggested) {
            EXPECT_EQ(suggested, QDir(documents).filePath(QStringLiteral(
                                     "Diet Activity Report 2026-01-05 to 2026-01-11")));
            return chosen.takeFirst();
        });

    report("mnuToolsDietReport", kLo, kHi, [&](frmReport& f) {
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        const QString first = QDir(documents).filePath(
            QStringLiteral("Diet Activity Report 2026-01-05 to 2026-01-11.pdf"));
        const QString second = QDir(documents).filePath(
            QStringLiteral("Diet Activity Report 2026-01-05 to 2026-01-11 (2).pdf"));
        ASSERT_EQ(boxes.boxes().size(), 2u);
        for (const QString& path : {first, second}) {
            QFile pdf(path);
            ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << path.toStdString();
            EXPECT_TRUE(pdf.read(5) == "%PDF-");
        }
        EXPECT_TRUE(boxes.boxes()[0].prompt.endsWith(QDir::toNativeSeparators(first)));
        EXPECT_TRUE(boxes.boxes()[1].prompt.endsWith(QDir::toNativeSeparators(second)));
        boxes.clear();

        for (int i = 0; i < 4; ++i)
            QTest::mouseClick(f.cmdExport, Qt::LeftButton);
        QFile csv(home.filePath(QStringLiteral("out.csv")));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        EXPECT_TRUE(csv.readAll().startsWith("Date,Food Name,Servings,Serving Size,Fat,Carbs,"
                                             "Protein,Calories,Sodium,Chol,Fiber,"));
        QFile pdf(home.filePath(QStringLiteral("out.pdf")));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.read(5) == "%PDF-");
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Export Error"));
    });
    setExportFileChooser(oldChooser);
    setPrinterFactory(oldFactory);
    qputenv("HOME", oldHome);
}

TEST_F(ReportWindowTest, NamesWithRtfMarksAndAnyCharactersShowAndPrintAsThemselves) {
    const QString name = QStringLiteral("Back\\slash {curly} caf\u00e9 \u00bd cup \U0001F34E");
    prepare({reportRow(1, QStringLiteral("2026-01-06"), name)});
    start();
    RecordedPrinting printing;
    printing.printer = std::make_shared<RecordingPrinter>(); // a whole landscape page
    report("mnuToolsDietReport", kLo, kHi, [&](frmReport& f) {
        EXPECT_TRUE(f.rtReport->toPlainText().contains(name));
        QTest::mouseClick(f.cmdPrint, Qt::LeftButton);
        EXPECT_EQ(pageTexts(*printing.printer, 1).filter(gTools.PadR(name, 54)).size(), 1);
    });
}
