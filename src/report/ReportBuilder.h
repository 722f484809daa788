#pragma once
// The diet activity report: from the rows of a date range, in one pass, the rich text shown on
// screen and the tagged plain lines that printing reads, so both show the same figures.
#include "ReportRow.h"

#include <QList>
#include <QString>

// One printed line; Tag is "PREBREAK", "DETAIL1", "DETAIL2", "POSTBREAK1", "POSTBREAK2",
// "TOTAL1", "TOTAL2" or "TOTAL3".
struct PrintLine {
    QString Tag;
    QString Text;
    friend bool operator==(const PrintLine&, const PrintLine&) = default;
};

struct BuiltReport {
    QString rtf;            // plain ASCII; names and labels are escaped
    QList<PrintLine> lines; // empty when there are no rows
};

// The report of `rows` (ordered by DietDate, FoodName, DietId). Missing values show as empty
// cells and count as 0 in the totals.
BuiltReport BuildReport(const QList<ReportRow>& rows, const ReportLabels& labels);

// Width of the table's lines, in characters.
constexpr int kReportLineWidth = 143;
