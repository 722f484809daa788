// "Food Item Details": an original USDA food rescaled from its stored values, and a new food
// written only on Save, with the editor's checks of name and values and its calorie hint.
#include "DefaultLocale.h"
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"
#include "frmFoodData.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using FoodEditorTest = MainWindowTest;

TEST(CalorieCheck, MarksStatedCaloriesFarFromWhatTheGramsImply) {
    // Within 20 kcal or 20% of what the grams imply, or no grams given: no mark.
    EXPECT_FALSE(sharesDisagree(10, 20, 5, 215) || sharesDisagree(0, 0, 0, 250));
    EXPECT_TRUE(sharesDisagree(10, 20, 5, 1900)); // a typo of a zero
}

TEST_F(FoodEditorTest, AnOriginalUsdaFoodRescalesFromItsStoredValuesAndKeepsItsStandardOnes) {
    // butter, 1001: stored for 1 cup (227 g); measures dab (no weight), pat, tbsp, 100 g, stick,
    // cup
    prepare({QStringLiteral("INSERT INTO USDA_Measures VALUES (1001, 99, '1 dab', 0)")});
    start();
    const QString fat = QStringLiteral("SELECT Fat FROM FoodItem WHERE FoodId = 1001");
    const double cup = value(fat).toDouble();
    doubleClick(w().tvwFood, w().tvwFood->Item(QStringLiteral("G3")));
    click(w().tvwFood, w().tvwFood->Item(QStringLiteral("F1001")));
    answer<frmFoodData>([this](frmFoodData& f) {
        EXPECT_EQ(f.cmbServSize->currentText(), QStringLiteral("1 cup"));
        EXPECT_EQ(f.txtFat->text(), QStringLiteral("184.120"));
        EXPECT_FALSE(f.txtFat->isEnabled() || f.txtCalories->isEnabled() ||
                     f.cmbGroups->isEnabled());
        EXPECT_TRUE(f.txtOther1->isEnabled());
        const auto key = [&](Qt::Key k) {
            QTest::keyClick(f.cmbServSize, k);
            return f.txtFat->text();
        };
        EXPECT_EQ(key(Qt::Key_Up), QStringLiteral("91.654"));   // 1 stick, 113 g, at once
        EXPECT_EQ(key(Qt::Key_Up), QStringLiteral("81.110"));   // 100 g
        EXPECT_EQ(key(Qt::Key_Down), QStringLiteral("91.654")); // the stick again, the same
        // A measure without a weight scales by 1, as everywhere else, not to nothing.
        while (f.cmbServSize->currentIndex() > 0)
            key(Qt::Key_Up);
        EXPECT_EQ(f.txtFat->text(), QStringLiteral("184.120"));
        while (f.cmbServSize->currentIndex() < 4)
            key(Qt::Key_Down);
        // Typed values are not overwritten without asking; No keeps them and the measure.
        f.txtOther1->setText(QStringLiteral("5"));
        boxes.answer(vbNo);
        key(Qt::Key_Up);
        EXPECT_EQ(f.cmbServSize->currentText(), QStringLiteral("1 stick"));
        EXPECT_EQ(f.txtOther1->text(), QStringLiteral("5"));
        // A serving size of one's own is refused for an original USDA food.
        f.cmbServSize->setEditText(QStringLiteral("2 pats"));
        f.cmdSave->click();
        f.cmbServSize->setCurrentIndex(4);
        f.cmdSave->click();
    });
    choose("mnuEditFoodDetails");
    EXPECT_EQ(prompts(),
              (QStringList{QStringLiteral("Changing the Serving Size will overwrite the USDA "
                                          "Nutrient values that you have changed.  Do you wish to "
                                          "continue?"),
                           QStringLiteral("You can not enter a new Serving Size for an original "
                                          "USDA Food Item.  If you wish to have a different "
                                          "Serving Size for this Food Item, make a copy of it and "
                                          "edit the copy.")}));
    EXPECT_EQ(sql(QStringLiteral("SELECT ServingSize || '|' || USDA_MSRE_NO || '|' || USDA_GM_WT "
                                 "|| '|' || Other1 FROM FoodItem WHERE FoodId = 1001")),
              QStringLiteral("1 stick|4|113.0|5.0"));
    // The boxes show three decimals; what is written is the exact rescaled value, and saving
    // again without a change changes nothing.
    EXPECT_EQ(value(fat).toDouble(), cup * (113.0 / 227.0));
    answer<frmFoodData>([](frmFoodData& f) { f.cmdSave->click(); });
    choose("mnuEditFoodDetails");
    EXPECT_EQ(value(fat).toDouble(), cup * (113.0 / 227.0));
}

TEST_F(FoodEditorTest, ANewFoodIsWrittenOnlyOnSaveAndACopyOfAUsdaFoodIsTheUsersOwn) {
    DefaultLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    prepare({QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa fruit', 1, 'GROUP')"),
             QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize, Fat, "
                            "USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) VALUES "
                            "(900010, 2, 'Butter, weight unknown', '1 cup', 5, 1001, 1, 0)")});
    start();
    TreeControl* t = w().tvwFood;
    click(t, t->Item(QStringLiteral("G500")));
    const QString count = QStringLiteral("SELECT count(*) FROM FoodItem");
    const QString before = sql(count);
    answer<frmFoodData>([](frmFoodData& f) { f.cmdCancel->click(); });
    choose("NewFood");
    EXPECT_EQ(sql(count), before);

    bool marked = false, unmarked = true;
    answer<frmFoodData>([&](frmFoodData& f) {
        EXPECT_EQ(f.txtNewFood->text(), QStringLiteral("YES"));
        EXPECT_EQ(f.cmbGroups->currentText(), QStringLiteral("Aaa fruit"));
        EXPECT_EQ(f.txtFat->text(), QStringLiteral("0.000"));
        // Each refusal keeps the dialog open; a named box takes the focus.
        const auto save = [&f](QWidget* fault) {
            f.cmdSave->click();
            EXPECT_TRUE(f.txtCloseMode->text().isEmpty());
            EXPECT_TRUE(!fault || f.focusWidget() == fault);
        };
        f.txtFoodName->setText(QStringLiteral("   "));
        save(f.txtFoodName);
        f.txtFoodName->setText(QStringLiteral("Mom's \"soup\" \u00e9"));
        for (const char* notANumber : {"abc", "1,000"}) {
            f.txtFat->setText(QString::fromLatin1(notANumber));
            save(nullptr);
        }
        f.txtFat->setText(QStringLiteral(" 1e1 "));
        f.txtSodium->setText(QStringLiteral("100001"));
        save(f.txtSodium);
        f.txtSodium->setText(QStringLiteral("100000"));
        f.txtOther1->setText(QStringLiteral("-0.5"));
        save(f.txtOther1);
        f.txtOther1->setText(QStringLiteral("0"));
        save(nullptr); // no serving size yet
        f.cmbServSize->setEditText(QStringLiteral("1 bowl"));
        f.txtCarbs->setText(QStringLiteral("20"));
        f.txtProtein->setText(QStringLiteral("5"));
        f.txtCalories->setText(QStringLiteral("1900"));
        marked = f.caloriesDisagree();
        f.txtCalories->setText(QStringLiteral("190"));
        unmarked = f.caloriesDisagree();
        f.cmdSave->click();
    });
    choose("mnuEditNewFoodItem");
    EXPECT_TRUE(marked);
    EXPECT_FALSE(unmarked);
    EXPECT_EQ(prompts(),
              (QStringList{QStringLiteral("You must enter a Food Name."),
                           QStringLiteral("All Nutritional Data Values must be numeric."),
                           QStringLiteral("All Nutritional Data Values must be numeric."),
                           QStringLiteral("Sodium must be between 0 and 100,000."),
                           QStringLiteral("Fiber must be between 0 and 100,000."),
                           QStringLiteral("You must enter a Serving Size.")}));
    TreeNode* added = t->selectedNode();
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Parent(), t->Item(QStringLiteral("G500")));
    EXPECT_EQ(sql(QStringLiteral("SELECT FoodName || '|' || ServingSize || '|' || Fat || '|' || "
                                 "Calorie || '|' || Sodium || '|' || GroupId FROM FoodItem WHERE "
                                 "FoodId = %1")
                      .arg(nodeId(added->Key()))),
              QStringLiteral("Mom's \"soup\" \u00e9|1 bowl|10.0|190.0|100000.0|500"));

    click(t, t->Item(QStringLiteral("G1")));
    EXPECT_FALSE(enabled("NewFood")) << "the root holds no foods of its own";

    // A food without a gram weight never rescales; a copy of a USDA food is the user's own.
    answer<frmFoodData>([](frmFoodData& f) {
        QTest::keyClick(f.cmbServSize, Qt::Key_Up);
        EXPECT_EQ(f.txtFat->text(), QStringLiteral("5.000"));
        f.cmdCancel->click();
    });
    click(t, t->Item(QStringLiteral("F900010")));
    choose("mnuEditFoodDetails");

    doubleClick(t, t->Item(QStringLiteral("G3")));
    click(t, t->Item(QStringLiteral("F1001")));
    choose("mnuEditFoodFav");
    const long copy = nodeId(t->selectedNode()->Key());
    answer<frmFoodData>([](frmFoodData& f) {
        EXPECT_TRUE(f.txtFat->isEnabled());
        f.cmbServSize->setEditText(QStringLiteral("2 pats"));
        f.txtFat->setText(QStringLiteral("8"));
        f.cmdSave->click();
    });
    choose("mnuEditFoodDetails");
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(
        sql(QStringLiteral("SELECT ServingSize || '|' || Fat || '|' || USDA_NDB_NO || '|' || "
                           "USDA_MSRE_NO || '|' || USDA_GM_WT FROM FoodItem WHERE FoodId = %1")
                .arg(copy)),
        QStringLiteral("2 pats|8.0|0|0|0.0"));
}
