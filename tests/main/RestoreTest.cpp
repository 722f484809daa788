// File > Restore Backup...: a checked copy chosen from the list replaces the log in the open
// connection, after a copy of the present state; both trees, the current user and the status bar
// then show the copy. A copy that fails its checks changes nothing, and no copy is thinned out
// before a restore succeeded.
#include "Restore.h"
#include "FailingVfs.h"
#include "MainWindowFixture.h"
#include "Module1.h"
#include "SchemaVersion.h"
#include "ShowModal.h"
#include "Snapshot.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"
#include "frmRestore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class RestoreTest : public MainWindowTest {
protected:
    // Chooses the command; `inside` plays the user in the dialog.
    void restore(const std::function<void(frmRestore&)>& inside) {
        answer<frmRestore>(inside);
        choose("mnuFileRestore");
    }
    QString backups() const { return db.programDir() + u"/Data/Backups/"_s; }
};

TEST_F(RestoreTest, AnOlderCopyComesBackIntoBothTreesAfterACopyOfThePresentState) {
    prepare({dietRow(1, "USER1", "2026-01-01", "Apple"), dietRow(2, "USER2", "2026-01-02", "Fig"),
             dietRow(3, "USER2", "2026-01-03", "Pear"),
             u"UPDATE CONFIG SET SelectedConfig = (ConfigItem = 'USER2') WHERE ConfigItem LIKE "
             "'USER%'"_s});
    start();
    restore([](frmRestore& f) {
        EXPECT_EQ(f.lblInfo->text(), u"There are no backup copies of the diet log yet."_s);
        EXPECT_FALSE(f.cmdRestore->isEnabled());
        f.cmdCancel->click();
    });

    Clock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
    ASSERT_TRUE(takeSnapshot(gDataSource->appDB).saved());
    // After the copy: user 2's entries gone, user 1 current, a new food group.
    for (const char* sql :
         {"DELETE FROM DietActivity WHERE UserName = 'USER2'",
          "UPDATE CONFIG SET SelectedConfig = (ConfigItem = 'USER1') WHERE ConfigItem LIKE 'USER%'",
          "INSERT INTO FoodGroup (GroupId, GroupName, ParentGroup, GroupTag) VALUES (900, "
          "'Added Later', 0, 'GROUP')"})
        gDataSource->appDB.execute(QString::fromLatin1(sql));
    // A run that ended with a copy of that state; the program starts again on it.
    closeWindow();
    Clock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(11, 0)));
    start();
    const auto groupShown = [this] { return w().tvwFood->Item(u"G900"_s) != nullptr; };
    EXPECT_TRUE(groupShown());
    EXPECT_EQ(w().tvwDiet->Count(), 1);

    boxes.answer(vbNo);
    const QString taken =
        QLocale().toString(QDateTime(QDate(2026, 3, 1), QTime(10, 0)), QLocale::ShortFormat);
    const auto chooseOlder = [&](frmRestore& f) {
        ASSERT_EQ(f.lstBackups->topLevelItemCount(), 2);
        QTreeWidgetItem* row = f.lstBackups->topLevelItem(1);
        EXPECT_EQ(row->text(0), taken);
        EXPECT_EQ(f.lstBackups->headerItem()->text(3), u"User 2"_s);
        EXPECT_EQ(QStringList({row->text(2), row->text(3), row->text(4)}).join(u','), u"1,2,0"_s);
        f.lstBackups->setCurrentItem(row);
        f.cmdRestore->click();
    };
    restore(chooseOlder); // No: nothing happens
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              u"Replace the diet log with the backup copy taken %1?"_s.arg(taken));
    EXPECT_EQ(listBackups(db.path()).size(), 2);

    restore([&](frmRestore& f) {
        chooseOlder(f);
        EXPECT_EQ(f.closeMode(), u"OK"_s);
    });
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(gCurrentUser, u"USER2"_s);
    EXPECT_EQ(w().sbPanel2->text(), u"User:  User 2"_s);
    EXPECT_TRUE(w().tvwDiet->Item(u"DT20260102"_s) && w().tvwDiet->Item(u"DT20260103"_s));
    EXPECT_EQ(w().tvwDiet->Count(), 2);
    EXPECT_FALSE(groupShown());
    // The state before the restore is the newest copy.
    const QList<BackupInfo> copies = listBackups(db.path());
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[0].taken, Clock::now());
    EXPECT_EQ(summarizeBackup(copies[0].path, {u"USER1"_s, u"USER2"_s}).counts,
              (QList<qint64>{1, 0}));
    EXPECT_EQ(queryValue(copies[0].path, u"SELECT count(*) FROM FoodGroup WHERE GroupId = 900"_s),
              1);
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), u"SELECT group_concat(DietId) FROM DietActivity"_s),
              u"1,2,3"_s);
}

TEST_F(RestoreTest, ACopyThatFailsItsChecksIsListedWithWhyOrRefusedAtRestoreAndTheLogKept) {
    prepare({dietRow(1, "USER1", "2026-01-01", "Apple")});
    const QByteArray good = fileBytes(db.path());
    const auto copy = [this](int day) {
        return backups() + u"ForkData 2026-02-%1 120000.mdb"_s.arg(day, 2, 10, QChar(u'0'));
    };
    for (int day = 1; day <= 4; ++day)
        ASSERT_TRUE(writeFile(copy(day), good));
    queryValue(copy(4), u"CREATE TRIGGER Wipe AFTER INSERT ON DietActivity BEGIN DELETE FROM "
                        "DietActivity WHERE DietId <> new.DietId; END"_s);
    queryValue(copy(3), u"PRAGMA user_version = %1"_s.arg(kSchemaVersion + 1));
    ASSERT_TRUE(writeFile(copy(2), good.left(good.size() / 2))); // cut off half way
    // The list checks no page: a broken index of the foods shows only at Restore.
    QByteArray brokenIndex = good;
    brokenIndex[(queryValue(copy(1), u"SELECT rootpage FROM sqlite_master WHERE name = "
                                     "'FoodItem_Group'"_s)
                     .toLongLong() -
                 1) *
                queryValue(copy(1), u"PRAGMA page_size"_s).toLongLong()] = 0x7f;
    ASSERT_TRUE(writeFile(copy(1), brokenIndex));
    const QByteArray before = fileBytes(db.path());
    start();

    restore([&](frmRestore& f) {
        EXPECT_EQ(f.windowTitle(), u"Restore Backup"_s);
        ASSERT_EQ(f.lstBackups->topLevelItemCount(), 4);
        QStringList shown;
        for (int i = 0; i < 4; ++i) {
            QTreeWidgetItem* row = f.lstBackups->topLevelItem(i);
            shown << row->text(2) + u'/' + row->text(5) +
                         (row->flags() & Qt::ItemIsEnabled ? u" enabled"_s : QString());
        }
        EXPECT_EQ(shown.join(u','), u"not a Forkwise copy/,newer version/,damaged/,1/0 enabled"_s);
        // A click on a copy that cannot be restored does not choose it.
        QTreeWidgetItem* refused = f.lstBackups->topLevelItem(0);
        QTest::mouseClick(f.lstBackups->viewport(), Qt::LeftButton, {},
                          f.lstBackups->visualItemRect(refused).center());
        EXPECT_EQ(f.lstBackups->currentItem(), f.lstBackups->topLevelItem(3));
        EXPECT_TRUE(f.cmdRestore->isEnabled());
        f.cmdRestore->click();
    });
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_TRUE(boxes.boxes()[1].prompt.startsWith(
        u"The backup copy "_s + QDir::toNativeSeparators(copy(1)) +
        u" cannot be restored, so the diet log was left unchanged.\n\nThe copy failed its "
        "integrity check: "_s))
        << qPrintable(boxes.boxes()[1].prompt);
    EXPECT_EQ(listBackups(db.path()).size(), 4) << "no copy of the present state is made";
    EXPECT_EQ(w().tvwDiet->Count(), 1);

    // With only copies that cannot be restored, none can be chosen.
    QFile::remove(copy(1));
    restore([](frmRestore& f) {
        EXPECT_EQ(f.lstBackups->currentItem(), nullptr);
        EXPECT_FALSE(f.cmdRestore->isEnabled());
        f.cmdCancel->click();
    });
    closeWindow();
    EXPECT_EQ(fileBytes(db.path()), before);
    EXPECT_EQ(QDir(backups()).entryList({u"*-wal"_s, u"*-shm"_s, u"*-journal"_s}).join(u','),
              QString());
}

TEST_F(RestoreTest, APageCopyThatFailsKeepsTheChosenCopyAndOnlyASuccessThinsOutTheOthers) {
    FailingVfs::install();
    prepare({dietRow(1, "USER1", "2026-01-01", "Apple")});
    // Five copies of this morning, the oldest holding one entry more.
    const QByteArray good = fileBytes(db.path());
    const auto copy = [this](int hour) {
        return backups() + u"ForkData 2026-03-01 %1.mdb"_s.arg(hour * 10000, 6, 10, QChar(u'0'));
    };
    for (int hour = 1; hour <= 5; ++hour)
        ASSERT_TRUE(writeFile(copy(hour), good));
    queryValue(copy(1), dietRow(2, "USER1", "2026-01-02", "Fig"));
    matchDietDays(copy(1));
    Clock::setFixed(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
    start();
    // The fifth copy is chosen by its time in the list.
    const QString fifth =
        QLocale().toString(QDateTime(QDate(2026, 3, 1), QTime(1, 0)), QLocale::ShortFormat);
    const auto restoreFifth = [&](bool fail) {
        boxes.clear();
        FailingVfs::failWrites(fail, true, QFile::encodeName(db.path()).toStdString());
        restore([&](frmRestore& f) {
            const QList<QTreeWidgetItem*> rows = f.lstBackups->findItems(fifth, Qt::MatchExactly);
            ASSERT_EQ(rows.size(), 1);
            f.lstBackups->setCurrentItem(rows[0]);
            f.cmdRestore->click();
        });
        FailingVfs::failWrites(false);
    };

    restoreFifth(true);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].prompt,
              u"The backup copy "_s + QDir::toNativeSeparators(copy(1)) +
                  u" cannot be restored, so the diet log was left unchanged.\n\nThe disk is "
                  "full."_s);
    // The copy of the present state was made, and nothing was thinned out.
    EXPECT_EQ(listBackups(db.path()).size(), 6);
    EXPECT_TRUE(QFile::exists(copy(1)));
    EXPECT_FALSE(w().tvwDiet->Item(u"DT20260102"_s));

    restoreFifth(false);
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(w().tvwDiet->Item(u"DT20260102"_s));
    // The newest five are kept and the copy restored; the other is thinned out.
    QStringList kept;
    for (const BackupInfo& info : listBackups(db.path()))
        kept << QFileInfo(info.path).fileName().mid(20, 10);
    EXPECT_EQ(kept.join(u','),
              u"100000 (2),100000.mdb,050000.mdb,040000.mdb,030000.mdb,010000.mdb"_s);
}
