#pragma once
// The diet entry dialog: number of servings, serving size (one of the food's USDA measures) and
// date. It only validates and records how it was closed; the caller reads its controls.
#include "ModalDialog.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

class dlgServings : public ModalDialog {
    Q_OBJECT
public:
    explicit dlgServings(QWidget* parent = nullptr);

    // Fills the lists: the servings from 0.25 to 9.75, and the measures of
    // gDataSource->rscmdMeasures from its current row on.
    void Form_Load();
    bool ValidateEntry();
    // Shows `text` as the fixed serving size of a food without measures.
    void lockServingSize(const QString& text);
    // Whether the food had measures when the dialog was loaded.
    bool hasMeasures() const { return measureCount > 0; }

    QLabel* Label1 = nullptr;
    QComboBox* cmbServings = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbServSize = nullptr;
    QRadioButton* rbPreffered = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* DTDate = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // The number of servings typed or chosen; valid once the dialog was left with OK.
    double servings() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OKButton_Click();
    int measureCount = 0;
};
