#pragma once
// Tools > Produce Diet Report run as a person does: the criteria dialog filled and its OK (or
// Cancel) pressed, then the report window worked before Done is pressed.
#include "MainWindowFixture.h"
#include "ShowModal.h"
#include "frmReport.h"
#include "frmReportCrit.h"

#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

// SQL adding one diet entry of USER1 with all eight values.
inline QString reportRow(int id, const QString& date, const QString& food) {
    return QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings, ServingSize, Fat, Carbohydrate, Protein, Calorie, Sodium, "
                          "Cholesterol, Other1, Other2) VALUES (%1, 'USER1', '%2', '%3', 1.5, "
                          "'1 cup', 2, 20, 5, 300, 10, 1, 3, 0)")
        .arg(id)
        .arg(date, food);
}

class ReportWindowTest : public MainWindowTest {
protected:
    // Chooses `action` and returns the number of dialogs shown.
    int report(const char* action, QDate lo, QDate hi,
               const std::function<void(frmReport&)>& onReport, bool cancel = false) {
        int dialogs = 0;
        setModalHandler([&](QDialog& d) {
            ++dialogs;
            if (auto* crit = qobject_cast<frmReportCrit*>(&d)) {
                crit->dtLoDate->setDate(lo);
                crit->dtHighDate->setDate(hi);
                QTest::mouseClick(cancel ? crit->CancelButton : crit->OKButton, Qt::LeftButton);
                return crit->result();
            }
            auto& window = dynamic_cast<frmReport&>(d);
            window.show();
            onReport(window);
            QTest::mouseClick(window.cmdQuit, Qt::LeftButton);
            return window.result();
        });
        choose(action);
        setModalHandler({});
        return dialogs;
    }
};
