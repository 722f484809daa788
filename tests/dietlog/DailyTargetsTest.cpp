// Daily targets: each user's own, typed in Tools > Daily Targets... and checked there, held
// against a day's totals, and today's calories in the status bar after every kind of change.
#include "DietLogFixture.h"
#include "FailingVfs.h"
#include "Snapshot.h"
#include "frmDailyTargets.h"
#include "frmDietDetails.h"
#include "frmOptions.h"
#include "frmPurgeData.h"
#include "frmRestore.h"

#include <QAccessible>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
// An entry of `calories` kilocalories and `fat` grams.
QString meal(int id, const char* user, const char* date, double calories, double fat = 1) {
    return u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, NumServings, Fat, "
           "Calorie) VALUES (%1, '%2', '%3', 'Meal %1', 1, %4, %5)"_s.arg(id)
               .arg(QLatin1StringView(user), QLatin1StringView(date))
               .arg(fat)
               .arg(calories);
}

QString accessibleName(QObject* o) {
    return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
}
} // namespace

class DailyTargetsTest : public DietLogTest {
protected:
    void SetUp() override {
        FailingVfs::install();
        DietLogTest::SetUp();
    }
    void TearDown() override {
        FailingVfs::failWrites(false);
        DietLogTest::TearDown();
    }
    void targets(std::function<void(frmDailyTargets&)> act) {
        answer(std::move(act));
        choose("mnuToolsTargets");
    }
    void currentUser(int n) {
        answer<frmOptions>([n](frmOptions& f) {
            if (f.txtOther2->text().isEmpty()) // the dialog wants every label
                f.txtOther2->setText(u"Sugars"_s);
            f.optUser[size_t(n - 1)]->setChecked(true);
            f.cmdOK->click();
        });
        choose("mnuToolsOptions");
    }
    // The target items of the file, "item=value|selected", in order.
    QString stored() {
        return sql(u"SELECT group_concat(t, ' ') FROM (SELECT ConfigItem || '=' || ConfigValue || "
                   "'|' || SelectedConfig AS t FROM CONFIG WHERE ConfigItem LIKE 'TARGET%' "
                   "ORDER BY ConfigItem)"_s);
    }
    // The status bar's panel of today, after the change has been taken in; empty when hidden.
    QString todayPanel() {
        QApplication::processEvents();
        return w().sbPanelToday->isHidden() ? QString() : w().sbPanelToday->text();
    }
};

TEST_F(DailyTargetsTest, EachBoxTakesBlankOrAPositiveNumberAndEachUserKeepsTheirOwn) {
    prepare({u"UPDATE CONFIG SET ConfigValue = '' WHERE ConfigItem = 'OTHER2'"_s});
    start();
    EXPECT_EQ(todayPanel(), QString()); // a log from before targets: nothing of them shows
    targets([this](frmDailyTargets& f) {
        EXPECT_EQ(f.windowTitle(), u"Daily Targets"_s);
        QStringList names;
        for (QLineEdit* box : f.txtTarget)
            names << accessibleName(box);
        EXPECT_EQ(names.join(u','), u"Fat,Carbohydrates,Protein,Calories,Cholesterol,Sodium,"
                                    "Fiber,Optional nutrient 2"_s);
        f.show();
        f.txtTarget[0]->setText(u"70"_s);
        f.txtTarget[7]->setText(u"12.5"_s);
        for (const QString& bad : {u"0"_s, u"-5"_s, u"nan"_s, u"lots"_s}) {
            f.txtTarget[3]->setText(bad);
            f.cmdOK->click();
            EXPECT_TRUE(f.txtCloseMode->text().isEmpty()) << bad.toStdString();
            EXPECT_EQ(f.focusWidget(), f.txtTarget[3]);
        }
        f.txtTarget[3]->setText(u" 2000 "_s);
        f.cmdOK->click();
    });
    EXPECT_EQ(boxes.boxes().size(), 4u);
    for (const RecordedBox& b : boxes.boxes())
        EXPECT_EQ(b.title + u": "_s + b.prompt,
                  u"Forkwise: Calories must be a positive number, or blank for no target."_s);
    boxes.clear();
    const QString saved = u"TARGET1_CALORIE=2000|0 TARGET1_FAT=70|0 TARGET1_OTHER2=12.5|0"_s;
    EXPECT_EQ(stored(), saved);

    // A save that fails keeps them, and the dialog comes back as typed; Cancel keeps them too.
    int shown = 0;
    targets([&](frmDailyTargets& f) {
        if (++shown == 1) {
            EXPECT_EQ(f.txtTarget[7]->text(), u"12.5"_s);
            f.txtTarget[0]->clear();
            f.txtTarget[2]->setText(u"50"_s);
            FailingVfs::failWrites(true, false);
            f.cmdOK->click();
            return;
        }
        FailingVfs::failWrites(false);
        EXPECT_EQ(f.txtTarget[0]->text() + u'/' + f.txtTarget[2]->text(), u"/50"_s);
        f.cmdCancel->click();
    });
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              u"Unable to update the Configuration Data.  "_s + gSupportMsg);
    EXPECT_EQ(stored(), saved);
    EXPECT_FALSE(gDataSource->closed());

    // Another user starts with none; theirs are theirs, and the first user's come back.
    currentUser(2);
    targets([](frmDailyTargets& f) {
        EXPECT_EQ(f.txtTarget[0]->text() + f.txtTarget[3]->text() + f.txtTarget[7]->text(),
                  QString());
        f.txtTarget[3]->setText(u"1800"_s);
        f.cmdOK->click();
    });
    currentUser(1);
    targets([](frmDailyTargets& f) {
        EXPECT_EQ(f.txtTarget[3]->text(), u"2000"_s);
        f.txtTarget[3]->clear(); // blank: no target, and no item
        f.cmdOK->click();
    });
    EXPECT_EQ(stored(), u"TARGET1_FAT=70|0 TARGET1_OTHER2=12.5|0 TARGET2_CALORIE=1800|0"_s);
    // The current user is still found among the items.
    closeWindow();
    start();
    EXPECT_EQ(gCurrentUser, u"USER1"_s);
}

TEST_F(DailyTargetsTest, ADaysTotalsReadAgainstTheTargetsWithABarAnEntrysDoNot) {
    prepare({meal(1, "USER1", "2026-12-05", 190.25, 10.2), meal(2, "USER1", "2026-12-05", 40, 2.3),
             u"INSERT INTO CONFIG VALUES ('TARGET1_FAT', '70', 0), ('TARGET1_CALORIE', '200', 0), "
             "('TARGET2_PROTEIN', '50', 0)"_s});
    start();
    TreeControl* t = w().tvwDiet;
    const auto totals = [&](TreeNode* node) {
        QApplication::setActiveWindow(&w());
        t->setFocus();
        click(t, node);
        choose("mnuEditDietDetails");
        QApplication::processEvents();
        return w().findChild<frmDietDetails*>();
    };
    doubleClick(t, day("20261205"));
    frmDietDetails* f = totals(day("20261205"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->txtFat->text(), u"12.5 of 70 (18%)"_s);
    EXPECT_EQ(f->txtCalorie->text(), u"230.2 of 200 (115%)"_s);
    EXPECT_EQ(f->txtProtein->text(), QString()); // another user's target
    QStringList bars;
    for (QProgressBar* bar : f->findChildren<QProgressBar*>()) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->role(), QAccessible::ProgressBar);
        bars << accessibleName(bar);
    }
    bars.sort();
    EXPECT_EQ(bars.join(u'/'), u"Calories: 115% of target/Fat: 18% of target"_s);
    QTest::keyClick(f, Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f = totals(entry(1));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->txtFat->text(), u"10.2"_s);
    EXPECT_TRUE(f->findChildren<QProgressBar*>().isEmpty());
}

TEST_F(DailyTargetsTest, TodaysCaloriesFollowEveryKindOfChange) {
    prepare({meal(1, "USER1", "2026-12-06", 450), meal(2, "USER1", "2026-12-05", 120),
             meal(3, "USER2", "2026-12-06", 999),
             u"UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'"_s});
    start();
    EXPECT_EQ(todayPanel(), QString());
    targets([](frmDailyTargets& f) {
        f.txtTarget[3]->setText(u"2000"_s);
        f.cmdOK->click();
    });
    EXPECT_EQ(todayPanel(), u"Today: 450 of 2,000 kcal"_s);
    // The panel sits between the user and the date.
    EXPECT_LT(w().sbPanel2->x(), w().sbPanelToday->x());
    EXPECT_LT(w().sbPanelToday->x(), w().sbPanel3->x());
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(11, 0)));
    ASSERT_TRUE(TakeSnapshot(gDataSource->appDB).saved());
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));

    doubleClick(w().tvwFood, food(kCheese)); // 300 kcal
    EXPECT_EQ(todayPanel(), u"Today: 750 of 2,000 kcal"_s);
    click(w().tvwDiet, entry(lastDietId()));
    answerDialog([](dlgServings& dlg) { dlg.cmbServings->setEditText(u"2.5"_s); });
    choose("mnuEditDietEntry");
    EXPECT_EQ(todayPanel(), u"Today: 1,200 of 2,000 kcal"_s);
    doubleClick(w().tvwDiet, day("20261205"));
    dragTo(w().tvwDiet, entry(1), Qt::LeftButton, day("20261205"));
    EXPECT_EQ(todayPanel(), u"Today: 750 of 2,000 kcal"_s);
    click(w().tvwDiet, entry(2));
    choose("mnuEditCopy");
    click(w().tvwDiet, day("20261206"));
    choose("mnuEditPaste");
    EXPECT_EQ(todayPanel(), u"Today: 870 of 2,000 kcal"_s);
    choose("mnuEditDelete"); // the pasted entry, answered Yes
    EXPECT_EQ(todayPanel(), u"Today: 750 of 2,000 kcal"_s);

    // Past midnight the panel shows the new day (here the clock goes back to yesterday's).
    Clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(0, 0, 1)));
    auto* timer = w().findChild<QTimer*>(u"tmrDate"_s);
    ASSERT_TRUE(timer);
    timer->setInterval(1);
    QTest::qWait(20);
    EXPECT_EQ(todayPanel(), u"Today: 570 of 2,000 kcal"_s);
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    QTest::qWait(20);
    EXPECT_EQ(todayPanel(), u"Today: 750 of 2,000 kcal"_s);

    answer<frmPurgeData>([](frmPurgeData& f) { f.OKButton->click(); }); // today only
    choose("mnuToolsPurgeDietData");
    EXPECT_EQ(todayPanel(), u"Today: 0 of 2,000 kcal"_s);
    currentUser(2); // no targets
    EXPECT_EQ(todayPanel(), QString());
    currentUser(1);
    targets([](frmDailyTargets& f) {
        f.txtTarget[3]->clear();
        f.txtTarget[0]->setText(u"60"_s);
        f.cmdOK->click();
    });
    EXPECT_EQ(todayPanel(), u"Today: 0 kcal"_s);

    // The copy taken with 450 kcal today and a calorie target comes back with both.
    answer<frmRestore>([](frmRestore& f) {
        QTreeWidgetItem* oldest = f.lstBackups->topLevelItem(f.lstBackups->topLevelItemCount() - 1);
        f.lstBackups->setCurrentItem(oldest);
        f.cmdRestore->click();
    });
    choose("mnuFileRestore");
    EXPECT_EQ(todayPanel(), u"Today: 450 of 2,000 kcal"_s);
    for (const RecordedBox& b : boxes.boxes())
        EXPECT_NE(b.title, u"Application Error"_s) << b.prompt.toStdString();
}
