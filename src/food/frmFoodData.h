#pragma once
// "Food Item Details": one food's name, group (for a new food), serving size and eight nutrient
// values. It works on the current row of rscmdFoods: Save validates and copies the boxes into
// the row; the caller saves or abandons the row afterwards.
#include "ModalDialog.h"
#include "Nutrients.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmFoodData : public ModalDialog {
    Q_OBJECT
public:
    explicit frmFoodData(QWidget* parent = nullptr);

    // Fills the boxes from the current food and the lists from rscmdAvailGroups and
    // rscmdMeasures (from their current rows on).
    void Form_Load();
    // Shows measure `index` as chosen, as a click on it would (the caller shows the food's own).
    void chooseMeasure(int index);

    QLineEdit* txtFoodName = nullptr;
    QComboBox* cmbServSize = nullptr;
    QComboBox* cmbGroups = nullptr;
    QLineEdit* txtFat = nullptr;
    QLineEdit* txtCarbs = nullptr;
    QLineEdit* txtProtein = nullptr;
    QLineEdit* txtCalories = nullptr;
    QLineEdit* txtSodium = nullptr;
    QLineEdit* txtCholesterol = nullptr;
    QLineEdit* txtOther1 = nullptr;
    QLineEdit* txtOther2 = nullptr;
    QLabel* lblOther1 = nullptr;
    QLabel* lblOther2 = nullptr;
    // The calories the grams imply, beside the stated ones: marked when they disagree.
    QLabel* lblCalorieCheck = nullptr;
    QLineEdit* txtNewFood = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Whether lblCalorieCheck marks the stated calories as far from what the grams imply.
    bool caloriesDisagree() const { return disagree; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmbServSize_Click(int index);
    void cmdSave_Click();
    bool SaveFoodData();
    void fillValues(double ratio);
    void checkCalories();
    // The boxes in the order of the row's nutrient columns (Nutrients::columns()).
    std::array<QLineEdit*, 8> boxes() const;
    // The caption of the label beside `box`.
    QString captionOf(const QWidget* box) const;

    Nutrients shown; // the values the boxes were last filled with, exactly
    std::array<QString, 8> shownText;
    bool changed = false;
    int rememberedMeasure = 0;
    bool filling = false;
    bool disagree = false;
};

// Whether stated calories are far from those that fat, carbohydrate and protein imply (9, 4 and
// 4 per gram): more than 20% and more than 20 kcal apart. A food without grams never is.
bool CaloriesDisagree(double fat, double carbohydrate, double protein, double calories);
