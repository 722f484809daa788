#pragma once
// "Diet Activity Report Criteria": the date range of the report. The order of the two dates is
// not checked; a first date after the second gives a report without rows.
#include "DateRangeDialog.h"

class frmReportCrit : public DateRangeDialog {
    Q_OBJECT
public:
    explicit frmReportCrit(QWidget* parent = nullptr);
};
