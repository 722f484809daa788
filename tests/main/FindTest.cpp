// Edit > Find and Find Next: the foods and the current user's diet entries searched by part of
// their name, in result-set order, wrapping once; the tree brought to the match.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "Recordset.h"
#include "ShowModal.h"
#include "TreeNode.h"
#include "clsFWSDataSource.h"
#include "frmFind.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class FindTest : public MainWindowTest {
protected:
    // Ctrl+F on the food tree; the dialog is answered by `act` and its button pressed.
    void find(const std::function<void(frmFind&)>& act) {
        answer(act);
        QApplication::setActiveWindow(&w());
        key(w().tvwFood, Qt::Key_F, Qt::ControlModifier);
    }
    void findText(const QString& text, bool foods = true) {
        find([&](frmFind& f) {
            f.txtFindName->setText(text);
            (foods ? f.optFood : f.optDiet)->setChecked(true);
            f.FindButton->click();
        });
    }
    void findNext() { key(w().tvwFood, Qt::Key_F3); }
    QString selected(TreeControl* tree) {
        const TreeNode* n = tree->selectedNode();
        return n ? n->Key() : QString();
    }
    qlonglong currentRow(Recordset& rs, const char* id) {
        return rs.hasCurrentRow() ? rs.Fields(QString::fromLatin1(id)).toLongLong() : -1;
    }
};

TEST_F(FindTest, FoodsAreFoundInResultSetOrderIntoNeverOpenedGroupsAndTheSearchWrapsOnce) {
    prepare(
        {QStringLiteral("UPDATE FoodItem SET FoodName = 'Pineapple, raw' WHERE FoodId = 9001")});
    start();
    TreeControl* foods = w().tvwFood;
    EXPECT_EQ(foods->Item(QStringLiteral("G11"))->Children(), 0);

    // Capitals find small letters; the favourites' group comes first, then group 11's foods.
    findText(QStringLiteral("APPLE"));
    EXPECT_EQ(selected(foods), QStringLiteral("F20049"));
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F9003"));
    const TreeNode* apples = foods->selectedNode();
    EXPECT_TRUE(apples->Parent()->isExpanded());
    EXPECT_FALSE(w().sbPanel1->text().isEmpty()); // the click ran: the serving size shows
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F9001"));
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F20049"));

    // Reopened on the same text, the dialog selects it and continues; Cancel searches nothing,
    // and Find Next afterwards still uses the text.
    find([](frmFind& f) {
        EXPECT_EQ(f.txtFindName->selectedText(), QStringLiteral("APPLE"));
        EXPECT_TRUE(f.blnFindNext);
        f.FindButton->click();
    });
    EXPECT_EQ(selected(foods), QStringLiteral("F9003"));
    find([](frmFind& f) { f.CancelButton->click(); });
    EXPECT_EQ(selected(foods), QStringLiteral("F9003"));
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F9001"));

    // Typing starts again from the top; a single match is found again by wrapping.
    findText(QStringLiteral("cap'n"));
    EXPECT_EQ(selected(foods), QStringLiteral("F8010"));
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F8010"));

    // An empty text walks every food; no match says so and keeps the selection and its row.
    findText(QString());
    EXPECT_EQ(selected(foods), QStringLiteral("F20049"));
    findNext();
    EXPECT_EQ(selected(foods), QStringLiteral("F20048"));
    EXPECT_TRUE(boxes.boxes().empty());
    for (const QString& text : {QStringLiteral("zzz"), QStringLiteral("[unclosed")}) {
        findText(text);
        EXPECT_EQ(selected(foods), QStringLiteral("F20048"));
        EXPECT_EQ(currentRow(*gDataSource->rscmdFoods, "FoodId"), 20048);
    }
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].prompt, QStringLiteral("No Matching Food entry found"));
    EXPECT_EQ(boxes.boxes()[1].title, QStringLiteral("Forkwise"));
}

TEST_F(FindTest, DietSearchWalksTheCurrentUsersEntriesByDateLoadingDaysNeverOpened) {
    prepare({dietRow(1, "USER1", "2026-12-01", "Apple pie"),
             dietRow(2, "USER1", "2026-12-01", "Toast"),
             QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                            "NumServings) VALUES (3, 'USER1', '2026-12-03', 'Crème d''apple', 1)"),
             dietRow(4, "USER2", "2026-12-02", "Apple tart")});
    start();
    TreeControl* diet = w().tvwDiet;
    findText(QStringLiteral("APPLE"), false);
    EXPECT_EQ(selected(diet), QStringLiteral("D1"));
    EXPECT_EQ(w().focusWidget(), diet);
    findNext();
    EXPECT_EQ(selected(diet), QStringLiteral("D3")); // its day was never opened
    findNext();
    EXPECT_EQ(selected(diet), QStringLiteral("D1")); // the other user's entry is not theirs

    // From an entry the user selects, the next match after it; letters beyond A to Z fold too.
    click(diet, diet->Item(QStringLiteral("D2")));
    findNext();
    EXPECT_EQ(selected(diet), QStringLiteral("D3"));
    findText(QStringLiteral("CRÈME"), false);
    EXPECT_EQ(selected(diet), QStringLiteral("D3"));

    // Switching back to the foods starts from their first row.
    find([](frmFind& f) {
        f.optFood->setChecked(true);
        f.FindButton->click();
    });
    EXPECT_EQ(boxes.boxes().size(), 1u); // no food is called Crème
    findText(QStringLiteral("bananas"));
    EXPECT_EQ(selected(w().tvwFood), QStringLiteral("F20048"));
}
