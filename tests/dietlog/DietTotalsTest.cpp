// The totals window: a day's sums for the current user, an entry's stored values, the figures'
// rounding, its labels and placement, and how it goes away.
#include "MainWindowFixture.h"
#include "NumberText.h"
#include "frmDietDetails.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {
// An entry with its stored values (fat, protein, carbohydrate, calories, sodium, cholesterol,
// other 1, other 2); "NULL" leaves a value empty.
QString entry(int id, const char* user, double servings, const char* values) {
    return QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings, Fat, Protein, Carbohydrate, Calorie, Sodium, "
                          "Cholesterol, Other1, Other2) VALUES (%1, '%2', '2026-12-05', 'Food', "
                          "%3, %4)")
        .arg(id)
        .arg(QString::fromLatin1(user))
        .arg(servings)
        .arg(QString::fromLatin1(values));
}

// The eight figures in the order entry() takes them.
QString figures(const frmDietDetails* f) {
    QStringList out;
    for (const QLineEdit* box : {f->txtFat, f->txtProtein, f->txtCarb, f->txtCalorie, f->txtSodium,
                                 f->txtCholesterol, f->txtOther1, f->txtOther2})
        out << box->text();
    return out.join(u", ");
}

void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class DietTotalsTest : public MainWindowTest {
protected:
    // Selects the node as the user does and chooses View Diet Totals from the Edit menu.
    frmDietDetails* showTotals(const char* key) {
        TreeControl* t = w().tvwDiet;
        TreeNode* day = t->Item(QStringLiteral("DT20261205"));
        if (day->Children() == 0)
            doubleClick(t, day);
        QApplication::setActiveWindow(&w());
        t->setFocus();
        click(t, t->Item(QString::fromLatin1(key)));
        w().action(QStringLiteral("mnuEditDietDetails"))->trigger();
        QApplication::processEvents();
        return w().findChild<frmDietDetails*>();
    }
};

TEST(NutrientText, RoundsTheShortestDecimalFormToOneDecimalHalvesToEven) {
    const QString cases = QStringLiteral("12=12 12.25=12.2 1234.96=1235 -0.04=0 0.15=0.2 0.45=0.4 "
                                         "0.05000004=0.1 -2.35=-2.4 9.95=10 0.05=0 1e-7=0 "
                                         "123456789.25=123456789.2");
    for (const QString& c : cases.split(u' '))
        EXPECT_EQ(nutrientText(c.section(u'=', 0, 0).toDouble()), c.section(u'=', 1))
            << c.toStdString();
    EXPECT_EQ(nutrientText(QVariant()), QString());
}

TEST_F(DietTotalsTest, ShowsADaysSumsOrAnEntrysValuesAndClosesOnEscapeOrElsewhere) {
    prepare(
        {entry(1, "USER1", 2, "10.2, NULL, 5, 190.25, 1.25, 0, NULL, 0.15"),
         entry(2, "USER1", 1, "2.3, NULL, 7.5, 20, 1, 0, 2, 0.45"),
         entry(3, "USER2", 1, "100, 100, 100, 100, 100, 100, 100, 100"),
         QStringLiteral("UPDATE CONFIG SET ConfigValue = 'Fibre' WHERE ConfigItem = 'OTHER1'")});
    start();
    // The day: the current user's entries only; a value no entry has stays empty.
    QPointer<frmDietDetails> f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(figures(f), QStringLiteral("12.5, , 12.5, 210.2, 2.2, 0, 2, 0.6"));
    EXPECT_EQ(f->lblOther1->text(), QStringLiteral("Fibre")); // the user's own label
    // Over the diet tree.
    const QRect tree(w().tvwDiet->mapToGlobal(QPoint(0, 0)), w().tvwDiet->size());
    EXPECT_TRUE(f->frameGeometry().intersects(tree));
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape); // where the keyboard is
    settle();
    EXPECT_FALSE(f) << "Escape";

    // An entry: its stored values, already for its two servings.
    f = showTotals("D1");
    ASSERT_TRUE(f);
    EXPECT_EQ(figures(f), QStringLiteral("10.2, , 5, 190.2, 1.2, 0, , 0.2"));
    // A screen reader finds the window and reads each figure under its label's name.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(f.data());
    ASSERT_TRUE(window);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Diet Totals"));
    QAccessibleInterface* fat = QAccessible::queryAccessibleInterface(f->txtFat);
    EXPECT_EQ(fat->text(QAccessible::Name), QStringLiteral("Fat"));
    EXPECT_EQ(fat->text(QAccessible::Value), QStringLiteral("10.2"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(f->txtOther1)->text(QAccessible::Name),
              QStringLiteral("Fibre"));

    // A click on another entry closes the window and selects that entry.
    QWindow* main = w().windowHandle();
    TreeControl* t = w().tvwDiet;
    const QPoint onEntry = main->mapFromGlobal(
        t->viewport()->mapToGlobal(t->visualItemRect(t->Item(QStringLiteral("D2"))).center()));
    QTest::mouseClick(main, Qt::LeftButton, Qt::NoModifier, onEntry);
    settle();
    EXPECT_FALSE(f) << "click on the main window";
    EXPECT_EQ(t->selectedNode(), t->Item(QStringLiteral("D2")));

    f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    settle();
    EXPECT_FALSE(f) << "another window activated";
}
