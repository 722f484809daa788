// The totals window: a day's sums for the current user, an entry's stored values, the figures'
// rounding, its labels and placement, and how it goes away.
#include "MainWindowFixture.h"
#include "frmDietDetails.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {
// An entry with its stored values (fat, protein, carbohydrate, calories, sodium, cholesterol,
// other 1, other 2); "NULL" leaves a value empty.
QString entry(int id, const char* user, const char* food, double servings, const char* values) {
    return QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings, Fat, Protein, Carbohydrate, Calorie, Sodium, "
                          "Cholesterol, Other1, Other2) VALUES (%1, '%2', '2026-12-05', '%3', "
                          "%4, %5)")
        .arg(id)
        .arg(QString::fromLatin1(user), QString::fromLatin1(food))
        .arg(servings)
        .arg(QString::fromLatin1(values));
}

QString box(const frmDietDetails* f, const char* name) {
    const auto* b = f->findChild<QLineEdit*>(QString::fromLatin1(name));
    return b ? b->text() : QStringLiteral("<no box>");
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
        t->selectNode(t->Item(QStringLiteral("DT20261205")));
        w().tvwDiet_DblClick(); // opens the day
        QApplication::setActiveWindow(&w());
        t->setFocus();
        click(t, t->Item(QString::fromLatin1(key)));
        w().action(QStringLiteral("mnuEditDietDetails"))->trigger();
        QApplication::processEvents();
        return w().findChild<frmDietDetails*>();
    }
};

TEST(NutrientText, RoundsToOneDecimalHalvesToEvenWithoutTrailingZeros) {
    EXPECT_EQ(NutrientText(12.0), QStringLiteral("12"));
    EXPECT_EQ(NutrientText(3.5), QStringLiteral("3.5"));
    EXPECT_EQ(NutrientText(12.25), QStringLiteral("12.2"));
    EXPECT_EQ(NutrientText(2.35), QStringLiteral("2.4"));
    EXPECT_EQ(NutrientText(10.2 + 2.3), QStringLiteral("12.5"));
    EXPECT_EQ(NutrientText(1234.96), QStringLiteral("1235"));
    EXPECT_EQ(NutrientText(-0.04), QStringLiteral("0"));
    EXPECT_EQ(NutrientText(QVariant()), QString());
}

TEST_F(DietTotalsTest, ADayShowsTheSumsOfTheCurrentUsersEntriesOnly) {
    prepare(
        {entry(1, "USER1", "Apple", 1, "10.2, NULL, 5, 100, 1.25, 0, 1, 0"),
         entry(2, "USER1", "Bread", 1, "2.3, NULL, 7.5, 20, 1, 0, 2, 0.5"),
         entry(3, "USER2", "Soup", 1, "100, 100, 100, 100, 100, 100, 100, 100"),
         QStringLiteral("UPDATE CONFIG SET ConfigValue = 'Fibre' WHERE ConfigItem = 'OTHER1'")});
    start();
    frmDietDetails* f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(box(f, "txtFat"), QStringLiteral("12.5"));
    EXPECT_EQ(box(f, "txtProtein"), QString()); // no value on any entry: empty, the rest shown
    EXPECT_EQ(box(f, "txtCarb"), QStringLiteral("12.5"));
    EXPECT_EQ(box(f, "txtCalorie"), QStringLiteral("120"));
    EXPECT_EQ(box(f, "txtSodium"), QStringLiteral("2.2")); // 2.25, the half to the even digit
    EXPECT_EQ(box(f, "txtCholesterol"), QStringLiteral("0"));
    EXPECT_EQ(box(f, "txtOther1"), QStringLiteral("3"));
    EXPECT_EQ(box(f, "txtOther2"), QStringLiteral("0.5"));

    // The labels, the configurable ones from the configuration.
    const QStringList labels = {QStringLiteral("Label1"),    QStringLiteral("Label2"),
                                QStringLiteral("Label8"),    QStringLiteral("Label7"),
                                QStringLiteral("Label6"),    QStringLiteral("Label5"),
                                QStringLiteral("lblOther1"), QStringLiteral("lblOther2")};
    const QStringList captions = {QStringLiteral("Fat"),         QStringLiteral("Carbohydrates"),
                                  QStringLiteral("Protein"),     QStringLiteral("Calories"),
                                  QStringLiteral("Cholesterol"), QStringLiteral("Sodium"),
                                  QStringLiteral("Fibre"),       QStringLiteral("Sugars")};
    int lastY = -1;
    for (int i = 0; i < labels.size(); ++i) {
        const auto* label = f->findChild<QLabel*>(labels[i]);
        ASSERT_TRUE(label) << labels[i].toStdString();
        EXPECT_EQ(label->text(), captions[i]);
        EXPECT_GT(label->y(), lastY) << "rows top to bottom";
        lastY = label->y();
    }

    // A grey borderless window over the diet tree.
    EXPECT_EQ(f->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(f->findChild<QLabel*>(QStringLiteral("Label1"))->palette().color(QPalette::Window),
              QColor(0xE0, 0xE0, 0xE0));
    EXPECT_TRUE(f->findChild<QFrame*>(QStringLiteral("Shape1")));
    const QRect tree(w().tvwDiet->mapToGlobal(QPoint(0, 0)), w().tvwDiet->size());
    EXPECT_TRUE(f->frameGeometry().intersects(tree));
}

TEST_F(DietTotalsTest, AnEntryShowsItsOwnStoredValues) {
    // Two servings: the stored values are already for both.
    prepare({entry(1, "USER1", "Apple", 2, "7, 1, 40, 190.25, 3, 0, NULL, 0.15"),
             entry(2, "USER1", "Bread", 1, "1, 1, 1, 1, 1, 1, 1, 1")});
    start();
    frmDietDetails* f = showTotals("D1");
    ASSERT_TRUE(f);
    EXPECT_EQ(box(f, "txtFat"), QStringLiteral("7"));
    EXPECT_EQ(box(f, "txtProtein"), QStringLiteral("1"));
    EXPECT_EQ(box(f, "txtCarb"), QStringLiteral("40"));
    EXPECT_EQ(box(f, "txtCalorie"), QStringLiteral("190.2"));
    EXPECT_EQ(box(f, "txtOther1"), QString());
    EXPECT_EQ(box(f, "txtOther2"), QStringLiteral("0.2"));
    EXPECT_EQ(box(f, "txtSodium"), QStringLiteral("3"));
}

TEST_F(DietTotalsTest, EscapeAClickElsewhereOrAnotherWindowClosesIt) {
    prepare({entry(1, "USER1", "Apple", 1, "1, 1, 1, 1, 1, 1, 1, 1")});
    start();

    QPointer<frmDietDetails> f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Escape); // where the keyboard is
    settle();
    EXPECT_FALSE(f) << "Escape";

    f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    QWindow* main = w().windowHandle();
    const QPoint onFoods = main->mapFromGlobal(
        w().tvwFood->viewport()->mapToGlobal(w().tvwFood->viewport()->rect().center()));
    QTest::mouseClick(main, Qt::LeftButton, Qt::NoModifier, onFoods);
    settle();
    EXPECT_FALSE(f) << "click on the main window";

    f = showTotals("DT20261205");
    ASSERT_TRUE(f);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    settle();
    EXPECT_FALSE(f) << "another window activated";
}
