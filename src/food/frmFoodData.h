#pragma once
// "Food Item Details": one food's name, group (for a new food), serving size and eight nutrient
// values. The caller prepares it with the food, runs it, and after Save reads the food back as
// the boxes left it (checked); writing it is the caller's.
#include "ClipRecords.h"
#include "ModalDialog.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmFoodData : public ModalDialog {
    Q_OBJECT
public:
    explicit frmFoodData(QWidget* parent = nullptr);

    // The lists come from rscmdAvailGroups and rscmdMeasures, open for the dialog's showing.
    // A new food, in its group unless `chooseGroup` (the user chooses one), with no serving size.
    void prepareNew(const FoodClipRecord& food, bool chooseGroup);
    // An existing food, shown with its own measure; its group cannot be changed here, and an
    // original USDA food's standard values are locked.
    void prepareExisting(const FoodClipRecord& food);
    // After Save: the food as the boxes left it.
    const FoodClipRecord& editedFood() const { return edited; }

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
    // Fills the boxes from the food and the lists from the result sets.
    void Form_Load(const FoodClipRecord& food);
    // Shows measure `index` as chosen, as a click on it would.
    void chooseMeasure(int index);
    void cmbServSize_Click(int index);
    void cmdSave_Click();
    bool saveFoodData();
    void fillValues(double ratio);
    void checkCalories();
    // The boxes in the order of the row's nutrient columns (Nutrients::columns()).
    std::array<QLineEdit*, 8> boxes() const;
    // The caption of the label beside `box`.
    QString captionOf(const QWidget* box) const;

    FoodClipRecord food;   // as prepared
    FoodClipRecord edited; // as saved
    Nutrients shown;       // the values the boxes were last filled with, exactly
    std::array<QString, 8> shownText;
    bool changed = false;
    int rememberedMeasure = 0;
    bool filling = false;
    bool disagree = false;
};

// Whether stated calories are far from those that fat, carbohydrate and protein imply (9, 4 and
// 4 per gram): more than 20% and more than 20 kcal apart. A food without grams never is.
bool sharesDisagree(double fat, double carbohydrate, double protein, double calories);
