#include "ReportOutput.h"

#include "PainterPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Owns the QPrinter. A base listed before PainterPrinter, so the printer outlives the painter
// that may still be active on it.
struct PrinterHolder {
    explicit PrinterHolder(std::unique_ptr<QPrinter> p) : printer(std::move(p)) {}
    std::unique_ptr<QPrinter> printer;
};

// The system's printer and the report printer that paints on it, alive for one job.
class SystemPrinter : private PrinterHolder, public PainterPrinter {
public:
    explicit SystemPrinter(std::unique_ptr<QPrinter> p)
        : PrinterHolder(std::move(p)), PainterPrinter(*printer) {}
};

PrinterFactory& factory() {
    static PrinterFactory f;
    return f;
}

ExportFileChooser& chooser() {
    static ExportFileChooser c;
    return c;
}

const QString kPdfFilter = QStringLiteral("PDF document (*.pdf)");
const QString kCsvFilter = QStringLiteral("CSV spreadsheet (*.csv)");

QString dialogChoice(QWidget* parent, const QString& suggested) {
    QString filter = kPdfFilter;
    QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Export Report"), suggested + QStringLiteral(".pdf"),
        kPdfFilter + QStringLiteral(";;") + kCsvFilter, &filter);
    if (path.isEmpty())
        return {};
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"pdf" && suffix != u"csv")
        path += filter == kCsvFilter ? QStringLiteral(".csv") : QStringLiteral(".pdf");
    return path;
}

} // namespace

std::shared_ptr<ReportPrinter> systemDefaultPrinter(const QString& docName) {
    if (QPrinterInfo::availablePrinters().isEmpty())
        return nullptr;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(docName);
    printer->setCreator(QStringLiteral("Forkwise"));
    printer->setPageOrientation(QPageLayout::Landscape);
    return std::make_shared<SystemPrinter>(std::move(printer));
}

std::shared_ptr<ReportPrinter> createReportPrinter(const QString& docName) {
    return factory() ? factory()(docName) : systemDefaultPrinter(docName);
}

PrinterFactory setPrinterFactory(PrinterFactory f) {
    return std::exchange(factory(), std::move(f));
}

QString createNewFile(const QString& folder, const QString& baseName, const QString& suffix) {
    if (!QDir().mkpath(folder))
        return {};
    const QDir dir(folder);
    // NewOnly creates the file or fails when it exists, so a file that appears meanwhile is safe.
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? baseName : QStringLiteral("%1 (%2)").arg(baseName).arg(n);
        QFile file(dir.filePath(name + u'.' + suffix));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return file.fileName();
        if (!file.exists())
            return {}; // the folder cannot be written
    }
    return {};
}

QString chooseExportFile(QWidget* parent, const QString& suggested) {
    return chooser() ? chooser()(parent, suggested) : dialogChoice(parent, suggested);
}

ExportFileChooser setExportFileChooser(ExportFileChooser c) {
    return std::exchange(chooser(), std::move(c));
}
