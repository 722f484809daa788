#pragma once
// "Find Food": the text to look for and whether to look among the foods or the diet entries.
// The main window keeps one for its whole life, so the text and the choice carry over from one
// search to the next.
#include "ModalDialog.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmFind : public ModalDialog {
    Q_OBJECT
public:
    explicit frmFind(QWidget* parent = nullptr);

    // Before each showing: the last text, selected; showing it again on that text continues
    // the search after the current row.
    void Form_Activate();
    // After "FIND": what to look for, where, and whether after the current row.
    struct Request {
        QString text;
        bool foods = true;
        bool next = false;
    };
    Request request() const;

    // The next search continues after the current row (false: it starts from the first row).
    bool blnFindNext = false;
    // Whether foods were chosen when the dialog was last shown.
    bool blnFoodsel = true;

    QLabel* Label1 = nullptr;
    QLineEdit* txtFindName = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optFood = nullptr;
    QRadioButton* optDiet = nullptr;
    QPushButton* FindButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void FindButton_Click();
};
