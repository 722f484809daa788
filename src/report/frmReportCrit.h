#pragma once
// "Diet Activity Report Criteria": the date range of the report. The order of the two dates is
// not checked; a first date after the second gives a report without rows.
#include "ModalDialog.h"

class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;

class frmReportCrit : public ModalDialog {
    Q_OBJECT
public:
    explicit frmReportCrit(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QDateEdit* dtLoDate = nullptr;
    QDateEdit* dtHighDate = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QFrame* Line1 = nullptr;
};
