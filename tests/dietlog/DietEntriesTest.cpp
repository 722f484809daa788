// Logging what was eaten: double click, drops with either button, the servings dialog, moving
// entries between days, and editing an entry.
#include "DefaultLocale.h"
#include "DietLogFixture.h"

#include <QTest>

TEST_F(DietLogTest, ARightDropAsksAndScalesByTheExactGramWeightAndTheServings) {
    prepare({dietRow(5, "USER1", "2026-12-05", "Zucchini")});
    start();
    QString dateShown;
    answerDialog([&](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServings->currentText(), QStringLiteral("1.00"));
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("100 g")); // the food's own
        EXPECT_TRUE(dlg.rbPreffered->isVisibleTo(&dlg));
        dateShown = dlg.DTDate->date().toString(Qt::ISODate);
        dlg.cmbServings->setEditText(QStringLiteral("2"));
        dlg.cmbServSize->setCurrentIndex(0); // 1 oz, the lightest
    });
    dragTo(w().tvwFood, food(kCheese), Qt::RightButton, day("20261205")); // never opened
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(dateShown, QStringLiteral("2026-12-05"));
    const long id = lastDietId();
    EXPECT_EQ(columns(id, "USDA_GM_WT ServingSize NumServings"), QStringLiteral("28.5|1 oz|2"));
    EXPECT_EQ(column(id, "Fat").toDouble(), (10.0 * 2) * 0.285);
    // The day shows all its entries once, the new one selected.
    EXPECT_EQ(day("20261205")->Children(), 2);
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(id));
    EXPECT_EQ(w().tvwDiet->dropHighlight(), nullptr);

    // A food of the user's own keeps its serving, its values times the servings.
    answerDialog([](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("1 slice"));
        EXPECT_EQ(dlg.cmbServSize->count(), 0);
        EXPECT_FALSE(dlg.rbPreffered->isVisibleTo(&dlg));
        dlg.cmbServings->setEditText(QStringLiteral("3"));
    });
    dragTo(w().tvwFood, food(kOwnBread), Qt::RightButton, nullptr);
    EXPECT_EQ(columns(lastDietId(), "ServingSize Fat USDA_GM_WT"), QStringLiteral("1 slice|9|0"));
}

TEST_F(DietLogTest, ADoubleClickLogsOneServingTodayAndMarkPreferredRewritesTheFoodOnce) {
    start();
    // A double click: one serving today for the current user; no value in the food (Other1),
    // none in the entry.
    doubleClick(w().tvwFood, food(kCheese));
    TreeNode* today = day("20261206");
    ASSERT_TRUE(today);
    const long id = lastDietId();
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(id));
    EXPECT_EQ(entry(id)->Parent(), today);
    EXPECT_EQ(entry(id)->Text(), QStringLiteral("Test cheese"));
    EXPECT_EQ(columns(id, "UserName DietDate NumServings Fat Other1 ServingSize GroupName "
                          "USDA_GM_WT"),
              QStringLiteral("USER1|2026-12-06|1|10||100 g|Favorites|100"));
    EXPECT_TRUE(boxes.boxes().empty());

    const auto foodColumn = [this](const char* name) {
        return value(QStringLiteral("SELECT %1 FROM FoodItem WHERE FoodId = ?")
                         .arg(QString::fromLatin1(name)),
                     {qlonglong(kSalt)});
    };
    answerDialog([](dlgServings& dlg) {
        dlg.cmbServSize->setCurrentIndex(0); // 1 dash, 0.4 g
        dlg.rbPreffered->setChecked(true);
    });
    // A dash of salt weighs 0.4 g: it logs 0.4 g worth of sodium, not the cup's.
    dragTo(w().tvwFood, food(kSalt), Qt::RightButton, nullptr); // below the last node: today
    const long marked = lastDietId();
    EXPECT_EQ(column(marked, "DietDate").toDate(), QDate(2026, 12, 6));
    EXPECT_NEAR(column(marked, "Sodium").toDouble(), 155.03, 0.01);
    EXPECT_EQ(foodColumn("ServingSize").toString(), QStringLiteral("1 dash"));
    EXPECT_DOUBLE_EQ(foodColumn("USDA_GM_WT").toDouble(), 0.4);
    EXPECT_NEAR(foodColumn("Sodium").toDouble(), 155.03, 0.01);

    // The same measure again, without marking: the food is not scaled a second time.
    answerDialog([](dlgServings& dlg) { dlg.cmbServSize->setCurrentIndex(0); });
    dragTo(w().tvwFood, food(kSalt), Qt::RightButton, nullptr);
    EXPECT_EQ(column(lastDietId(), "Sodium").toDouble(), column(marked, "Sodium").toDouble());
    EXPECT_NEAR(foodColumn("Sodium").toDouble(), 155.03, 0.01);
}

TEST_F(DietLogTest, TheDialogTakesOnlyAPlausibleNumberOfServingsAndEnterPressesOK) {
    DefaultLocale us(QLocale(QLocale::English, QLocale::UnitedStates));
    start();
    const QString numeric = QStringLiteral("Number of Servings must be numeric.");
    const QString positive = QStringLiteral("Number of Servings must be greater than zero.");
    const QString plausible =
        QStringLiteral("Number of Servings must be between 0.001 and 10,000.");
    // "1,000" is no thousand: a comma may as well have meant a decimal mark.
    QStringList typed = {
        QStringLiteral("two"),    QStringLiteral(""),       QStringLiteral("nan"),
        QStringLiteral("inf"),    QStringLiteral("-inf"),   QStringLiteral("1e400"),
        QStringLiteral("1,000"),  QStringLiteral("0"),      QStringLiteral(" -1 "),
        QStringLiteral("1e20"),   QStringLiteral("1e-320"), QStringLiteral("0.0009"),
        QStringLiteral("10000.5")};
    setModalHandler([&](QDialog& d) {
        auto& dlg = dynamic_cast<dlgServings&>(d);
        for (const QString& text : typed) {
            dlg.cmbServings->setEditText(text);
            QTest::keyClick(dlg.cmbServings->lineEdit(), Qt::Key_Return);
            EXPECT_TRUE(dlg.txtCloseMode->text().isEmpty())
                << "still open after " << text.toStdString();
        }
        dlg.cmbServings->setEditText(QStringLiteral("2"));
        dlg.cmbServSize->setCurrentIndex(-1);
        dlg.OKButton->click();
        dlg.cmbServSize->setCurrentIndex(0);
        dlg.cmbServings->setEditText(QStringLiteral(" +1.5e0 "));
        QTest::keyClick(dlg.cmbServings->lineEdit(), Qt::Key_Return);
        return dlg.result();
    });
    dragTo(w().tvwFood, food(kCheese), Qt::RightButton, nullptr);
    EXPECT_EQ(boxes.boxes().front().buttons, vbExclamation | vbOKOnly);
    EXPECT_EQ(prompts(),
              (QStringList{numeric, numeric, numeric, numeric, numeric, numeric, numeric, positive,
                           positive, plausible, plausible, plausible, plausible,
                           QStringLiteral("You must select an existing Serving Size.")}));
    EXPECT_DOUBLE_EQ(column(lastDietId(), "NumServings").toDouble(), 1.5);

    // The limits themselves are taken.
    for (const char* limit : {"10000", "0.001"}) {
        answerDialog([&](dlgServings& dlg) {
            dlg.cmbServings->setEditText(QString::fromLatin1(limit));
            dlg.cmbServSize->setCurrentIndex(0);
        });
        dragTo(w().tvwFood, food(kCheese), Qt::RightButton, nullptr);
        EXPECT_EQ(column(lastDietId(), "NumServings").toString(), QString::fromLatin1(limit));
    }
    EXPECT_TRUE(prompts().isEmpty());

    // Cancel changes nothing.
    answerDialog({}, false);
    dragTo(w().tvwFood, food(kCheese), Qt::RightButton, nullptr);
    EXPECT_EQ(entryCount(), 3);
}

TEST_F(DietLogTest, FoodsDropOnDaysOrEntriesAndEntriesMoveBetweenDays) {
    prepare({dietRow(5, "USER1", "2026-12-05", "Apple"), dietRow(6, "USER1", "2026-12-05", "Pear"),
             dietRow(7, "USER1", "2026-12-04", "Fig")});
    start();
    doubleClick(w().tvwDiet, day("20261205"));
    drag(w().tvwFood, food(kCheese), Qt::LeftButton, [this](const QMimeData& data) {
        EXPECT_TRUE(highlightedOver(data, day("20261204")));
        EXPECT_TRUE(highlightedOver(data, entry(5)));
        dropOn(data, entry(5)); // logged for the entry's day
    });
    const long cheese = lastDietId();
    EXPECT_EQ(column(cheese, "DietDate").toDate(), QDate(2026, 12, 5));
    drag(w().tvwDiet, entry(5), Qt::LeftButton, [this](const QMimeData& data) {
        EXPECT_TRUE(highlightedOver(data, day("20261204")));
        EXPECT_FALSE(highlightedOver(data, entry(6)));
    });
    // A drag from elsewhere (not one of the trees) is ignored.
    QMimeData foreign;
    foreign.setText(QStringLiteral("Pizza"));
    dropOn(foreign, day("20261204"));
    EXPECT_EQ(entryCount(), 4);

    dragTo(w().tvwDiet, entry(6), Qt::LeftButton, day("20261205")); // its own day: stays
    EXPECT_EQ(day("20261205")->Children(), 3);
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(6));
    dragTo(w().tvwDiet, entry(5), Qt::LeftButton, day("20261204")); // never opened
    EXPECT_EQ(entry(5)->Parent(), day("20261204"));
    EXPECT_EQ(day("20261204")->Children(), 2);
    EXPECT_EQ(column(5, "DietDate").toDate(), QDate(2026, 12, 4));
    for (long id : {6L, cheese}) // the day left stays, empty
        dragTo(w().tvwDiet, entry(id), Qt::LeftButton, day("20261204"));
    EXPECT_EQ(day("20261205")->Children(), 0);
    EXPECT_EQ(day("20261204")->Children(), 4);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DietLogTest, EditingAnEntryRescalesItsOwnValuesAndOKWithoutAChangeChangesNothing) {
    prepare({QStringLiteral(
        "INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, NumServings, ServingSize, "
        "Fat, Protein, Other1, USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) VALUES "
        "(5, 'USER1', '2026-12-05', 'Test cheese', 2, '100 g', 4, 6, NULL, 800001, 1, 100), "
        "(6, 'USER1', '2026-12-05', 'Zero', 0, '1 slice', 4, 6, NULL, 0, 0, 0), "
        "(7, 'USER1', '2026-12-05', 'Third', 0.333333333333, '100 g', 0.1, 7, 1, 800001, 1, "
        "100), (8, 'USER1', '2026-12-05', 'Many', 1234.567, '1 oz', 0.3, 1, 1, 800001, 2, 28.5)")});
    start();
    doubleClick(w().tvwDiet, day("20261205"));
    const auto edit = [this](long id, std::function<void(dlgServings&)> fill) {
        click(w().tvwDiet, entry(id));
        answerDialog(std::move(fill));
        choose("mnuEditDietEntry");
    };

    // 2 servings to 3, same measure: times 1.5.
    edit(5, [](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServings->currentText(), QStringLiteral("2"));
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("100 g"));
        EXPECT_FALSE(dlg.rbPreffered->isVisibleTo(&dlg));
        dlg.cmbServings->setEditText(QStringLiteral("3"));
    });
    EXPECT_EQ(columns(5, "Fat Protein Other1"), QStringLiteral("6|9|"));

    // 100 g to the 250 g measure: times 2.5, and the measure's columns follow.
    edit(5, [](dlgServings& dlg) { dlg.cmbServSize->setCurrentIndex(2); });
    EXPECT_EQ(columns(5, "Fat ServingSize USDA_MSRE_NO USDA_GM_WT"),
              QStringLiteral("15|1 cup|3|250"));

    // OK without a change leaves every value as it was, whatever the servings or the measure.
    for (long id : {5L, 7L, 8L}) {
        const Nutrients before = values(id);
        const double servings = column(id, "NumServings").toDouble();
        edit(id, {});
        EXPECT_EQ(column(id, "NumServings").toDouble(), servings) << id;
        EXPECT_TRUE(values(id) == before) << id;
    }

    // A new date moves the entry under its (new) day.
    edit(5, [](dlgServings& dlg) { dlg.DTDate->setDate(QDate(2026, 11, 30)); });
    ASSERT_TRUE(day("20261130"));
    EXPECT_EQ(entry(5)->Parent(), day("20261130"));
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(5));

    // An entry of no servings cannot be changed.
    edit(6, [](dlgServings& dlg) { dlg.cmbServings->setEditText(QStringLiteral("1")); });
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to update Diet Data.  ") + gSupportMsg);
    EXPECT_EQ(columns(6, "NumServings Fat"), QStringLiteral("0|4"));

    // The only entry of a day edited without change: the day is made again.
    edit(5, {});
    EXPECT_EQ(entry(5)->Parent(), day("20261130"));
}
