// Tools > Configuration Options: user names, the current user and the nutrient labels, saved
// all together or not at all; the diet log follows a new current user.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"
#include "frmOptions.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class OptionsTest : public MainWindowTest {
protected:
    void options(const char* action, std::function<void(frmOptions&)> act) {
        answer(std::move(act));
        choose(action);
    }
    // The value and selection of the configuration items, "value|selected" each.
    QString config(const QString& items) {
        QStringList out;
        for (const QString& item : items.split(u' '))
            out << sql(QStringLiteral("SELECT ConfigValue || '|' || SelectedConfig FROM CONFIG "
                                      "WHERE ConfigItem = ?"),
                       {item});
        return out.join(u' ');
    }
};

TEST_F(OptionsTest, AnotherCurrentUserBringsTheirDietLogEvenWhenAppliedThenCancelled) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER2", "2026-12-01", "Toast"),
             dietRow(3, "USER2", "2026-12-02", "Tea")});
    start();
    doubleClick(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("DT20261205")));
    click(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("D1")));
    EXPECT_TRUE(enabled("mnuEditCopy"));
    options("SelectUser", [](frmOptions& f) {
        EXPECT_TRUE(f.optUser[0]->isChecked());
        f.txtUser[1]->setText(QStringLiteral("   "));
        f.optUser[1]->setChecked(true);
        f.cmdApply->click(); // refused: a blank name
        EXPECT_FALSE(f.blnUserChange);
        f.txtUser[1]->setText(QStringLiteral("Ann's"));
        f.txtOther1->setText(QStringLiteral("Fibre grams")); // 10 characters at most
        f.cmdApply->click();
        f.cmdCancel->click();
    });
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("You must enter a value for all Configuration Items"));
    EXPECT_EQ(gCurrentUser, QStringLiteral("USER2"));
    EXPECT_EQ(w().tvwDiet->Count(), 2); // USER2's days
    // Nothing is selected among them: no command acts on the entry the other user had chosen.
    for (const char* off : {"mnuEditCut", "Copy", "mnuPop_RTB_DietEntry", "mnuEditDietDetails"})
        EXPECT_FALSE(enabled(off)) << off;
    click(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("DT20261202")));
    EXPECT_TRUE(enabled("mnuEditDietDetails"));
    EXPECT_EQ(w().sbPanel2->text(), QStringLiteral("User:  Ann's"));
    EXPECT_EQ(config(QStringLiteral("USER2 USER1 OTHER1")),
              QStringLiteral("Ann's|1 User 1|0 Fibre gram|0"));

    // Renaming the current user only: the status bar follows, the tree stays.
    TreeNode* day = w().tvwDiet->Item(QStringLiteral("DT20261201"));
    options("mnuToolsOptions", [](frmOptions& f) {
        f.txtUser[1]->setText(QStringLiteral("Ann"));
        f.cmdOK->click();
    });
    EXPECT_EQ(w().sbPanel2->text(), QStringLiteral("User:  Ann"));
    EXPECT_EQ(w().tvwDiet->Item(QStringLiteral("DT20261201")), day);
}

TEST_F(OptionsTest, ASaveThatFailsPartWayLeavesEverythingAsItWas) {
    start();
    // Added to the open log: the program refuses to open a log that holds a trigger.
    gDataSource->appDB.execute(
        QStringLiteral("CREATE TRIGGER NoUser3 BEFORE UPDATE ON CONFIG WHEN NEW.ConfigItem = "
                       "'USER3' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    bool open = false;
    options("mnuToolsOptions", [&](frmOptions& f) {
        f.txtOther1->setText(QStringLiteral("Iron"));
        f.optUser[1]->setChecked(true);
        f.cmdOK->click();
        open = f.txtCloseMode->text().isEmpty();
        EXPECT_FALSE(f.blnUserChange);
        f.cmdCancel->click();
    });
    EXPECT_TRUE(open);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to update the Configuration Data.  ") + gSupportMsg);
    EXPECT_EQ(gCurrentUser, QStringLiteral("USER1"));
    EXPECT_EQ(config(QStringLiteral("OTHER1 USER1 USER2")),
              QStringLiteral("Fiber|0 User 1|1 User 2|0"));
    EXPECT_FALSE(gDataSource->closed());
}
