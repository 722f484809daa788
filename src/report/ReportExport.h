#pragma once
// The report written to files: the printed pages as a PDF, the figures as CSV.
#include "ReportPrinting.h"

#include <QPageSize>

// Letter where people measure in inches, A4 elsewhere.
QPageSize DefaultPageSize();

// The pages PrintReport prints, with the chart's page when there is a `chart`, as a PDF at
// `path`; false when the file could not be written.
bool ExportPdf(const PrintLineList& lines, const PrintHeader& header, const QDate& printDate,
               const QString& path, const QPageSize& pageSize = DefaultPageSize(),
               const ChartData* chart = nullptr);

// One CSV record per entry (date as yyyy-mm-dd, food, servings, serving size, the eight values),
// then one per day's totals and one for the grand totals, under a heading record. RFC 4180
// quoting and line ends, UTF-8. Missing values are empty fields. False when the file could not
// be written. With `targets`, each day's totals are followed by its "% of Daily Target" record:
// the whole percent of each column that has a target.
bool ExportCsv(const QList<ReportRow>& rows, const ReportLabels& labels, const QString& path,
               const ReportTargets& targets = {});
