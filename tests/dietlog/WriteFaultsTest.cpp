// Writes that fail, as on a full disk: each command shows its message (and that the disk is full),
// the file stays whole, no entry shown as saved is lost, and once the disk has room again the
// program works as before.
#include "DietLogFixture.h"
#include "FailingVfs.h"
#include "frmOptions.h"

class WriteFaultsTest : public DietLogTest {
protected:
    void SetUp() override {
        FailingVfs::install();
        DietLogTest::SetUp();
        prepare(
            {dietRow(1, "USER1", "2026-12-06", "Apple"), dietRow(2, "USER1", "2026-12-05", "Pear"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    }
    void TearDown() override {
        FailingVfs::failWrites(false);
        DietLogTest::TearDown();
    }
    void startOnToday() {
        start();
        doubleClick(w().tvwDiet, day("20261206"));
    }
    // Runs `command` while writes fail: one message, and after the close the file as it was.
    void failing(const char* what, const std::function<void()>& command, bool diskFull = true) {
        SCOPED_TRACE(what);
        const QString before = rows();
        startOnToday();
        FailingVfs::failWrites(true, diskFull);
        command();
        FailingVfs::failWrites(false);
        QApplication::processEvents();
        QStringList errors;
        for (const RecordedBox& b : boxes.boxes())
            if (b.title == u"Application Error")
                errors << b.prompt;
        ASSERT_EQ(errors.size(), 1) << errors.join(u'/').toStdString();
        // The command's own message, and on a full disk one line more that says so.
        QString message = errors.front();
        const QString full = QStringLiteral("\nThe disk that holds the diet log is full.");
        EXPECT_EQ(message.endsWith(full), diskFull) << message.toStdString();
        message.chop(diskFull ? full.size() : 0);
        EXPECT_TRUE(message.startsWith(u"Unable to ") &&
                    message.endsWith(QStringLiteral(".  ") + gSupportMsg))
            << message.toStdString();
        boxes.clear();
        closeWindow();
        EXPECT_EQ(queryValue(db.path(), QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
        EXPECT_EQ(rows(), before);
    }
    // Every entry, configuration value and group name of the file.
    QString rows() {
        return queryValue(
                   db.path(),
                   QStringLiteral("SELECT (SELECT group_concat(DietId || ':' || NumServings "
                                  "|| ':' || Fat, ' ') FROM DietActivity) || ' / ' || "
                                  "(SELECT group_concat(ConfigValue, ' ') FROM CONFIG) || "
                                  "' / ' || (SELECT group_concat(GroupName) FROM FoodGroup)"))
            .toString();
    }
};

TEST_F(WriteFaultsTest, EachCommandSaysSoAndKeepsTheFileAndTheProgramWorksOnceWritesSucceed) {
    failing("add", [&] { doubleClick(w().tvwFood, food(kCheese)); });
    failing("edit", [&] {
        click(w().tvwDiet, entry(1));
        answerDialog([](dlgServings& d) { d.cmbServings->setEditText(QStringLiteral("3")); });
        choose("mnuEditDietEntry");
    });
    failing("delete", [&] {
        click(w().tvwDiet, entry(1));
        boxes.answer(vbYes);
        choose("mnuEditDelete");
    });
    failing("rename a group", [&] {
        click(w().tvwFood, foodNode("G2"));
        choose("mnuEditRename");
        type(QStringLiteral("Best foods"));
    });
    failing("new food group", [&] {
        click(w().tvwFood, foodNode("G2"));
        choose("mnuEditNewFoodGroup");
    });
    failing("options", [&] {
        answer<frmOptions>([](frmOptions& f) {
            f.txtUser[0]->setText(QStringLiteral("Ann"));
            f.cmdOK->click(); // refused: the dialog stays open until cancelled
            f.cmdCancel->click();
        });
        choose("mnuToolsOptions");
    });

    failing(
        "add on a failing drive", [&] { doubleClick(w().tvwFood, food(kCheese)); }, false);

    startOnToday();
    doubleClick(w().tvwFood, food(kCheese));
    EXPECT_EQ(w().tvwDiet->selectedNode()->Text(), QStringLiteral("Test cheese"));
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), QStringLiteral("SELECT count(*) FROM DietActivity")), 3);
}

TEST_F(WriteFaultsTest, AGroupWhoseDeletionWasNotCommittedCanStillBeRenamedAndDeleted) {
    prepare({QStringLiteral("INSERT INTO FoodGroup VALUES (600, 'Leftovers', 1, 'GROUP')")});
    start();
    TreeControl* t = w().tvwFood;
    click(t, foodNode("G600"));
    boxes.answer(vbYes);
    // The checked copy taken first flushes outside the database engine: the commit's is the next.
    FailingVfs::failNextSync();
    choose("mnuEditDelete");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to delete the selected food group.  ") + gSupportMsg);
    ASSERT_TRUE(foodNode("G600"));

    click(t, foodNode("G600"));
    choose("mnuEditRename");
    type(QStringLiteral("Remains"));
    EXPECT_EQ(sql(QStringLiteral("SELECT GroupName FROM FoodGroup WHERE GroupId = 600")),
              QStringLiteral("Remains"));
    boxes.answer(vbYes);
    choose("mnuEditDelete");
    EXPECT_FALSE(foodNode("G600"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodGroup WHERE GroupId = 600")),
              QStringLiteral("0"));
    EXPECT_EQ(boxes.boxes().size(), 3u);
}

TEST_F(WriteFaultsTest, ADayPasteThatFailsAtItsCommitOrPartWayWritesNoneOfItsEntries) {
    // Another user's entry holds key 14: the second entry of a day's third paste cannot be written.
    prepare(
        {dietRow(3, "USER1", "2026-12-06", "Fig"), dietRow(14, "USER2", "2026-12-01", "Toast")});
    startOnToday();
    TreeControl* t = w().tvwDiet;
    click(t, day("20261206"));
    choose("mnuEditCopy");
    doubleClick(t, day("20261205"));
    const auto pasteFails = [&](const char* how) {
        SCOPED_TRACE(how);
        const auto log = [this] {
            return sql(QStringLiteral("SELECT group_concat(DietId || DietDate || UserName) || "
                                      "(SELECT group_concat(KeyValue) FROM TableKey) FROM "
                                      "DietActivity"));
        };
        const QString before = log();
        const int shown = day("20261205")->Children();
        choose("mnuEditPaste");
        EXPECT_EQ(prompts(),
                  QStringList(QStringLiteral("Unable to update Diet Data.  ") + gSupportMsg));
        EXPECT_EQ(log(), before);
        EXPECT_EQ(day("20261205")->Children(), shown);
        EXPECT_EQ(t->selectedNode(), day("20261205"));
        EXPECT_EQ(gDataSource->rscmdDietData->RecordCount(), entryCount());
    };
    FailingVfs::failNextSync();
    pasteFails("the commit");
    choose("mnuEditPaste");
    EXPECT_EQ(day("20261205")->Children(), 3);
    EXPECT_EQ(t->selectedNode(), entry(11));
    click(t, day("20261205"));
    pasteFails("the second entry");
}
