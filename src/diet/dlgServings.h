#pragma once
// The diet entry dialog: number of servings, serving size (one of the food's USDA measures) and
// date. The caller prepares it for a dropped food or for an entry, runs it, and reads the choice
// back; the dialog only validates.
#include "ClipRecords.h"
#include "ModalDialog.h"

// What the person chose: servings, date and measure (the food's or entry's own when none was
// chosen from the list), and whether the measure is to become the food's own.
struct ServingChoice {
    double servings = 0;
    QDate date;
    QString serving;
    long measureNo = 0;
    double gramWeight = 0;
    bool preferred = false;
};

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

class dlgServings : public ModalDialog {
    Q_OBJECT
public:
    explicit dlgServings(QWidget* parent = nullptr);

    // The measures listed are those of gDataSource->rscmdMeasures, open for the dialog's showing.
    // A food dropped on a day: one serving of its own measure on `date`; Mark Preferred offered.
    void prepareForDrop(const FoodClipRecord& food, const QDate& date);
    // An entry reopened: its servings in full (OK without a change gives back the same number),
    // its measure and its date.
    void prepareForEdit(const DietClipRecord& entry);
    // After OK: what was chosen.
    ServingChoice choice() const;
    bool ValidateEntry();

    QLabel* Label1 = nullptr;
    QComboBox* cmbServings = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cmbServSize = nullptr;
    QRadioButton* rbPreffered = nullptr;
    QLabel* Label2 = nullptr;
    QDateEdit* DTDate = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills the lists (the servings from 0.25 to 9.75, and the measures) and shows the own
    // measure `serving` (number `measureNo`, `gramWeight` grams) as chosen.
    void Form_Load(const QString& serving, long measureNo, double gramWeight);
    void OKButton_Click();
    int measureCount = 0;
    ServingChoice own; // the measure shown first
};
