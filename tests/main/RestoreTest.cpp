// File > Restore Backup...: a checked copy chosen from the list replaces the log in the open
// connection, after a copy of the present state; both trees, the current user and the status bar
// then show the copy. A copy that fails its checks changes nothing.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "Snapshot.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"
#include "frmRestore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
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
    ASSERT_TRUE(TakeSnapshot(gDataSource->appDB).saved());
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
    EXPECT_EQ(ListBackups(db.path()).size(), 2);

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
    const QList<BackupInfo> copies = ListBackups(db.path());
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[0].taken, Clock::now());
    EXPECT_EQ(EntryCountsByUser(copies[0].path), (QList<QPair<QString, qint64>>{{u"USER1"_s, 1}}));
    EXPECT_EQ(queryValue(copies[0].path, u"SELECT count(*) FROM FoodGroup WHERE GroupId = 900"_s),
              1);
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), u"SELECT group_concat(DietId) FROM DietActivity"_s),
              u"1,2,3"_s);
}

TEST_F(RestoreTest, ACopyThatFailsItsChecksIsRefusedAndTheLogLeftAsItWas) {
    prepare({dietRow(1, "USER1", "2026-01-01", "Apple")});
    const QByteArray good = fileBytes(db.path());
    const QString copy = backups() + u"ForkData 2026-02-01 120000.mdb"_s;
    ASSERT_TRUE(writeFile(copy, good.left(good.size() / 2))); // cut off half way
    const auto hash = [&] {
        return QCryptographicHash::hash(fileBytes(db.path()), QCryptographicHash::Sha256);
    };
    const QByteArray before = hash();
    start();
    for (const char* why : {"", "The copy was written by a newer version of Forkwise."}) {
        boxes.clear();
        restore([](frmRestore& f) { f.cmdRestore->click(); });
        ASSERT_EQ(boxes.boxes().size(), 2u);
        EXPECT_TRUE(boxes.boxes()[1].prompt.startsWith(
            u"The backup copy "_s + QDir::toNativeSeparators(copy) +
            u" cannot be restored, so the diet log was left unchanged.\n\n"_s +
            QString::fromLatin1(why)))
            << qPrintable(boxes.boxes()[1].prompt);
        EXPECT_EQ(ListBackups(db.path()).size(), 1) << "no copy of the present state is made";
        EXPECT_EQ(w().tvwDiet->Count(), 1);
        ASSERT_TRUE(writeFile(copy, good));
        queryValue(copy, u"PRAGMA user_version = 2"_s);
    }
    closeWindow();
    EXPECT_EQ(hash(), before);
}
