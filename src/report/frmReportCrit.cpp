#include "frmReportCrit.h"

#include <QPushButton>

frmReportCrit::frmReportCrit(QWidget* parent)
    : DateRangeDialog(parent, QStringLiteral("frmReportCrit"),
                      QStringLiteral("Diet Activity Report Criteria"),
                      QStringLiteral("Enter the Date Range you want reported:")) {
    connect(OKButton, &QPushButton::clicked, this, [this] { closeWith(QStringLiteral("OK")); });
}
