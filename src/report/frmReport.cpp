#include "frmReport.h"

#include "Config.h"
#include "MainLayout.h"
#include "Module1.h"
#include "Recordset.h"
#include "ReportExport.h"
#include "ReportOutput.h"
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
#include <QTextEdit>

namespace {

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
    rtReport = new QTextEdit(this);
    rtReport->setObjectName(QStringLiteral("rtReport"));
    rtReport->setAccessibleName(QStringLiteral("Report"));
    rtReport->setGeometry(Twips::toPixels(QRect(120, 720, 8295, 5295), this));
    rtReport->setReadOnly(true);
    rtReport->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The table's columns are character positions: a wrapped line would break them.
    rtReport->setLineWrapMode(QTextEdit::NoWrap);
    resize(Twips::toPixels(8580, this), Twips::toPixels(6150, this));
    connect(cmdPrint, &QPushButton::clicked, this, &frmReport::cmdPrint_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmReport::cmdExport_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &QDialog::accept);
}

void frmReport::Form_Load() {
    BuildReport();
}

void frmReport::BuildReport() {
    labels = {GetConfigValue(QStringLiteral("OTHER1")), GetConfigValue(QStringLiteral("OTHER2"))};
    rows = ReportRowsFrom(*gDataSource->rscmdDietReport);
    const BuiltReport built = ::BuildReport(rows, labels);
    PrintLines = built.lines;
    cmdPrint->setEnabled(!PrintLines.isEmpty());
    cmdExport->setEnabled(!PrintLines.isEmpty());
    ReadRtf(built.rtf, *rtReport->document(), ReportBaseFont());
}

void frmReport::setDateRange(const QDate& lo, const QDate& hi) {
    loDate = lo;
    hiDate = hi;
    const QString format = QStringLiteral("MM/dd/yy");
    strDateRange = lo.toString(format) + QStringLiteral(" - ") + hi.toString(format);
    setWindowTitle(windowTitle() + QStringLiteral("  ") + strDateRange);
}

void frmReport::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmReport::Form_Resize() {
    rtReport->resize(qMax(0, width() - Twips::toPixels(200, this)),
                     qMax(0, height() - Twips::toPixels(1000, this)));
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
        written = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)
                      ? ExportCsv(rows, labels, path)
                      : ExportPdf(PrintLines, printHeader(), Clock::today(), path);
    }
    if (!written)
        MsgBox(QStringLiteral("The report could not be written to ") +
                   QDir::toNativeSeparators(path) + QStringLiteral(".  "),
               vbOKOnly | vbCritical, QStringLiteral("Export Error"));
}

void ProduceDietReport(QWidget* parent) {
    frmReportCrit crit(parent);
    const QString mode = crit.run();
    QApplication::processEvents();
    if (mode != u"OK")
        return;
    const QDate lo = crit.dtLoDate->date(), hi = crit.dtHighDate->date();
    gDataSource->cmdDietReport(lo, hi, gCurrentUser);
    if (gDataSource->closed())
        return; // reported; the run is ending
    {
        frmReport report(parent);
        report.Form_Load();
        report.setDateRange(lo, hi);
        ShowModal(report);
    }
    if (gDataSource->rscmdDietReport)
        gDataSource->rscmdDietReport->Close();
}
