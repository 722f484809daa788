#pragma once
// A dialog that asks for a range of dates: a prompt, the first and the last date (both today at
// first), OK and Cancel. What OK does is the caller's; Cancel closes with "CANCEL".
#include "ModalDialog.h"

#include <QDate>
#include <utility>

class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;

class DateRangeDialog : public ModalDialog {
    Q_OBJECT
public:
    DateRangeDialog(QWidget* parent, const QString& objectName, const QString& title,
                    const QString& prompt);

    // After OK: the first and the last date.
    std::pair<QDate, QDate> range() const;

    QLabel* Label1 = nullptr;
    QDateEdit* dtLoDate = nullptr;
    QDateEdit* dtHighDate = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QFrame* Line1 = nullptr;
};
