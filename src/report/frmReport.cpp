#include "frmReport.h"

#include "CalorieChartView.h"
#include "CommandBoundary.h"
#include "Config.h"
#include "DailyTargets.h"
#include "MainLayout.h"
#include "Module1.h"
#include "Recordset.h"
#include "ReportExport.h"
#include "ReportOutput.h"
#include "ReportTextView.h"
#include "RtfReader.h"
#include "Seams.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"
#include "frmReportCrit.h"

#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// The chart's band below the text, in twips: a gap, then the chart.
constexpr int kChartGap = 120;
constexpr int kChartHeight = 2100;

QString documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

frmReport::frmReport(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Diet Activity Report"));
    setModal(true);
    const auto button = [this](QPushButton*& b, const char* name, const QString& text, int left) {
        b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(Twips::toPixels(QRect(left, 240, 1095, 375), this));
    };
    button(cmdPrint, "cmdPrint", QStringLiteral("Print"), 120);
    button(cmdQuit, "cmdQuit", QStringLiteral("Done"), 1320);
    button(cmdExport, "cmdExport", QStringLiteral("Export..."), 2520);
    rtReport = new ReportTextView(this);
    rtReport->setObjectName(QStringLiteral("rtReport"));
    rtReport->setAccessibleName(QStringLiteral("Report"));
    rtReport->setGeometry(Twips::toPixels(QRect(120, 720, 8295, 5295), this));
    rtReport->setFont(ReportBaseFont());
    picCalories = new CalorieChartView(this);
    resize(Twips::toPixels(8580, this), Twips::toPixels(6150 + kChartGap + kChartHeight, this));
    connect(cmdPrint, &QPushButton::clicked, this, &frmReport::cmdPrint_Click);
    // The CSV export reads the range again: a failure there ends the run.
    connect(cmdExport, &QPushButton::clicked, this,
            [this] { guarded(*this, [this] { cmdExport_Click(); }); });
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::accept);
}

void frmReport::Form_Load(const QDate& lo, const QDate& hi) {
    setDateRange(lo, hi);
    BuildReport();
    releaseMemory();
}

void frmReport::BuildReport() {
    labels = {GetConfigValue(QStringLiteral("OTHER1")), GetConfigValue(QStringLiteral("OTHER2"))};
    targets = ReportTargetsOf(DailyTargets::load(gCurrentUser));
    ReportBuilder builder(labels, gDataSource->rscmdDietReport->RecordCount(), targets);
    ForEachReportRow(*gDataSource->rscmdDietReport,
                     [&](const ReportRow& row) { builder.add(row); });
    // The report holds what it shows from here on; the copy of the rows goes at once.
    gDataSource->rscmdDietReport->Close();
    BuiltReport built = builder.finish();
    PrintLines = std::move(built.lines);
    cmdPrint->setEnabled(!PrintLines.isEmpty());
    cmdExport->setEnabled(!PrintLines.isEmpty());
    ChartData chart = picCalories->chart();
    chart.days = std::move(built.days);
    picCalories->setChart(std::move(chart));

    rtReport->setReportText(ReadReportText(built.rtf)); // the rich text goes with `built`
}

void frmReport::releaseMemory() {
#ifdef __GLIBC__
    // The rows and the rich text of a long report were many small blocks; the allocator keeps
    // their pages unless asked to give them back.
    malloc_trim(0);
#endif
}

void frmReport::setDateRange(const QDate& lo, const QDate& hi) {
    loDate = lo;
    hiDate = hi;
    const QString format = QStringLiteral("MM/dd/yy");
    strDateRange = lo.toString(format) + QStringLiteral(" - ") + hi.toString(format);
    setWindowTitle(windowTitle() + QStringLiteral("  ") + strDateRange);
    ChartData chart = picCalories->chart();
    chart.from = lo;
    chart.to = hi;
    picCalories->setChart(std::move(chart));
}

void frmReport::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmReport::Form_Resize() {
    const int band = Twips::toPixels(kChartGap + kChartHeight, this);
    rtReport->resize(qMax(0, width() - Twips::toPixels(200, this)),
                     qMax(0, height() - Twips::toPixels(1000, this) - band));
    picCalories->setGeometry(rtReport->x(),
                             rtReport->geometry().bottom() + 1 + Twips::toPixels(kChartGap, this),
                             rtReport->width(), Twips::toPixels(kChartHeight, this));
}

PrintHeader frmReport::printHeader() const {
    return {GetConfigValue(gCurrentUser), strDateRange, labels};
}

QString frmReport::rangeName() const {
    const QString format = QStringLiteral("yyyy-MM-dd");
    return QStringLiteral("Diet Activity Report %1 to %2")
        .arg(loDate.toString(format), hiDate.toString(format));
}

void frmReport::cmdPrint_Click() {
    const PrintHeader header = printHeader();
    std::shared_ptr<ReportPrinter> printer;
    bool printed = false;
    {
        Hourglass busy; // finding the default printer asks the print system too
        printer = CreateReportPrinter(rangeName());
        if (printer)
            printed = PrintReport(PrintLines, header, Clock::today(), *printer);
    }
    if (!printer)
        printToDocuments(header);
    else if (!printed)
        MsgBox(QStringLiteral("An Error occurred while printing.  "), vbOKOnly | vbCritical,
               QStringLiteral("Printing Error"));
}

void frmReport::printToDocuments(const PrintHeader& header) {
    const QString folder = documentsFolder();
    bool written = false;
    QString path;
    {
        Hourglass busy;
        path = CreateNewFile(folder, rangeName(), QStringLiteral("pdf"));
        written = !path.isEmpty() && ExportPdf(PrintLines, header, Clock::today(), path);
    }
    if (written) {
        MsgBox(
            QStringLiteral("No printer is installed, so the report was saved as a PDF file:\n\n") +
                QDir::toNativeSeparators(path),
            vbOKOnly | vbInformation);
        return;
    }
    if (!path.isEmpty())
        QFile::remove(path);
    MsgBox(QStringLiteral("No printer is installed, and the report could not be saved as a PDF "
                          "file in ") +
               QDir::toNativeSeparators(folder) + QStringLiteral(".  "),
           vbOKOnly | vbCritical, QStringLiteral("Printing Error"));
}

void frmReport::cmdExport_Click() {
    const QString path = ChooseExportFile(this, QDir(documentsFolder()).filePath(rangeName()));
    if (path.isEmpty())
        return;
    bool written = false;
    {
        Hourglass busy;
        if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
            // The rows were let go once shown; the range is read again, as it was.
            gDataSource->cmdDietReport(loDate, hiDate, gCurrentUser);
            const QList<ReportRow> rows = ReportRowsFrom(*gDataSource->rscmdDietReport);
            gDataSource->rscmdDietReport->Close();
            written = ExportCsv(rows, labels, path, targets);
        } else {
            written = ExportPdf(PrintLines, printHeader(), Clock::today(), path, DefaultPageSize(),
                                &picCalories->chart());
        }
    }
    if (!written)
        MsgBox(QStringLiteral("The report could not be written to ") +
                   QDir::toNativeSeparators(path) + QStringLiteral(".  "),
               vbOKOnly | vbCritical, QStringLiteral("Export Error"));
}

void ProduceDietReport(QWidget* parent) {
    frmReportCrit crit(parent);
    if (crit.run() != u"OK")
        return;
    // The criteria leave the screen before the rows are read.
    QApplication::processEvents();
    const auto [lo, hi] = crit.range();
    gDataSource->cmdDietReport(lo, hi, gCurrentUser);
    {
        frmReport report(parent);
        report.Form_Load(lo, hi);
        ShowModal(report);
    }
    if (gDataSource->rscmdDietReport)
        gDataSource->rscmdDietReport->Close();
}
