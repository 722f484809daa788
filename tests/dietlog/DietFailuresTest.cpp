// A data command that fails inside a tree handler: the user sees its one message, the window
// closes, and the handler touches nothing of the emptied trees afterwards (the sanitizer build
// would catch a node used after it was freed).
#include "CommandBoundary.h"
#include "DietLogFixture.h"
#include "FoodCatalog.h"

namespace {
const QString kFoodFailure = QStringLiteral("Unable to retrieve Food Data.  ");
const QString kDietFailure = QStringLiteral("Unable to retrieve Diet Data.  ");
} // namespace

class DietFailuresTest : public DietLogTest {
protected:
    // Takes a table away under the open database, as a damaged file would. The rename is made
    // inside a transaction, which the closing program rolls back, so the next start finds it.
    static void breakTable(const char* table) {
        gDataSource->appDB.execute(QStringLiteral("BEGIN"));
        gDataSource->appDB.execute(
            QStringLiteral("ALTER TABLE %1 RENAME TO Missing").arg(QString::fromLatin1(table)));
    }
    // The one message of the failed command was shown and the window closed.
    void expectClosedAfter(const QString& phrase, const char* path) {
        QApplication::processEvents();
        ASSERT_EQ(boxes.boxes().size(), 1u) << path;
        EXPECT_EQ(boxes.boxes()[0].prompt, phrase + gSupportMsg) << path;
        EXPECT_TRUE(gDataSource->closed()) << path;
        EXPECT_FALSE(gMainForm && gMainForm->isVisible()) << path;
        closeWindow();
        boxes.clear();
    }
};

TEST_F(DietFailuresTest, OpeningAGroupOrADayThatCannotBeReadClosesTheWindowOnce) {
    prepare({QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Fruit', 1, 'GROUP')"),
             dietRow(1, "USER1", "2026-12-05", "Apple")});
    const auto group = [this] { return w().tvwFood->Item(QStringLiteral("G500")); };

    // {food tree?, Enter rather than a double click}, on a group or a day never opened.
    const std::pair<bool, bool> cases[] = {
        {true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& [foods, enter] : cases) {
        SCOPED_TRACE(foods ? "food tree" : "diet tree");
        start();
        TreeControl* tree = foods ? w().tvwFood : w().tvwDiet;
        TreeNode* node = foods ? group() : day("20261205");
        if (enter)
            tree->selectNode(node);
        breakTable(foods ? "FoodItem" : "DietActivity");
        if (enter)
            key(tree, Qt::Key_Return);
        else
            doubleClick(tree, node);
        expectClosedAfter(foods ? kFoodFailure : kDietFailure, enter ? "Enter" : "double click");
    }

    // The favourites' foods, read when the tree is filled (a reload of the tree, as at start).
    start();
    w().tvwFood->Clear();
    gDataSource->rscmdGroups->MoveFirst();
    breakTable("FoodItem");
    guarded([this] { w().foodCatalog().LoadFoodTree(); });
    expectClosedAfter(kFoodFailure, "filling the food tree");
}

TEST_F(DietFailuresTest, ADropOrPasteOnADayThatCannotBeReadClosesTheWindowOnce) {
    prepare(
        {dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear")});
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        start();
        drag(w().tvwFood, food(kCheese), button, [this](const QMimeData& data) {
            breakTable("DietActivity");
            dropOn(data, day("20261204"));
        });
        expectClosedAfter(kDietFailure, button == Qt::LeftButton ? "food drop" : "right drop");
    }

    start();
    doubleClick(w().tvwDiet, day("20261205"));
    drag(w().tvwDiet, entry(1), Qt::LeftButton, [this](const QMimeData& data) {
        breakTable("DietActivity");
        dropOn(data, day("20261204"));
    });
    expectClosedAfter(kDietFailure, "entry drop");

    start();
    QApplication::setActiveWindow(&w());
    doubleClick(w().tvwDiet, day("20261205"));
    w().tvwDiet->setFocus(Qt::TabFocusReason);
    click(w().tvwDiet, entry(1));
    choose("mnuEditCopy");
    click(w().tvwDiet, day("20261204"));
    breakTable("DietActivity");
    choose("mnuEditPaste");
    expectClosedAfter(kDietFailure, "paste");
}
