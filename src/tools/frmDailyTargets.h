#pragma once
// "Daily Targets": the current user's target for each nutrient, a positive number or blank for
// none. The dialog only checks what was typed; the caller saves it.
#include "DailyTargets.h"
#include "ModalDialog.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class frmDailyTargets : public ModalDialog {
    Q_OBJECT
public:
    explicit frmDailyTargets(QWidget* parent = nullptr);

    // Shows `user`'s targets under the nutrients' labels.
    void Form_Load(const QString& user);
    // After OK: the targets typed.
    DailyTargets targets() const;

    // In the order shown: fat, carbohydrates, protein, calories, cholesterol, sodium and the two
    // optional nutrients.
    std::array<QLabel*, Nutrients::Count> lblTarget{};
    std::array<QLineEdit*, Nutrients::Count> txtTarget{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void cmdOK_Click();
};

// Tools > Daily Targets...: shows the current user's targets and saves them on OK; a save that
// fails shows the dialog again as it was. True when they were saved.
bool ShowDailyTargets(QWidget* parent);
