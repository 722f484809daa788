#pragma once
// Where the report window's pages and files go: the system's default printer, a PDF in the
// user's documents folder when no printer is installed, and the file an export is written to.
// Each is a seam, so tests can print on a recording, fail the printer or answer the file choice.
#include "ReportPrinter.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

// A printer for one job titled `docName`, or null when the system has no printer at all.
using PrinterFactory = std::function<std::shared_ptr<ReportPrinter>(const QString& docName)>;
std::shared_ptr<ReportPrinter> createReportPrinter(const QString& docName);
// Replaces the factory (an empty one restores the system's default printer); returns the
// previous one.
PrinterFactory setPrinterFactory(PrinterFactory factory);
// The system's default printer, landscape, at its own resolution, without a dialog; null when
// no printer is installed.
std::shared_ptr<ReportPrinter> systemDefaultPrinter(const QString& docName);

// Creates the file `folder`/`baseName`.`suffix`, or with " (2)", " (3)"... after the base name
// when that exists, and returns its path; an existing file is never reused. Empty when no file
// could be created.
QString createNewFile(const QString& folder, const QString& baseName, const QString& suffix);

// The file an export goes to, chosen by the user from `suggested` (a path without suffix): a
// ".pdf" or a ".csv" path, or empty when the choice was cancelled.
using ExportFileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
QString chooseExportFile(QWidget* parent, const QString& suggested);
ExportFileChooser setExportFileChooser(ExportFileChooser chooser);
