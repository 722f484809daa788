#pragma once
// The printed report: the print lines in pages, each with the title, the column headings and a
// footer with the page number and the print date.
#include "ReportBuilder.h"

#include <QDate>

class ReportPrinter;

struct PrintHeader {
    QString userName;  // the current user's display name
    QString dateRange; // "mm/dd/yy - mm/dd/yy"
    ReportLabels labels;
};

// "Forkwise 1.0 Diet Activity Report for User: ... for Date Range: ..."
QString ReportTitle(const PrintHeader& header);

// Prints `lines` on `printer`, landscape, and ends the document; false when the printer could
// not finish it. A line's tag decides its emphasis and the empty lines around it; an entry's two
// lines and a day's closing lines are never parted by a page break. With a `chart`, one more
// page after the last holds it, under the same header and over the same footer.
bool PrintReport(const PrintLineList& lines, const PrintHeader& header, const QDate& printDate,
                 ReportPrinter& printer, const ChartData* chart = nullptr);
