// Tools > Purge Diet Data: the current user's entries of an inclusive date range go, after the
// range is in order and confirmed; the diet tree is built again.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "Snapshot.h"
#include "SqlProbe.h"
#include "frmPurgeData.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

TEST_F(MainWindowTest, APurgeDeletesOnlyTheCurrentUsersEntriesOfTheRange) {
    prepare({dietRow(1, "USER1", "1999-01-01", "Apple"), dietRow(2, "USER1", "1999-12-31", "Pear"),
             dietRow(3, "USER1", "2000-01-01", "Fig"),
             dietRow(4, "USER2", "1999-06-01", "Theirs")});
    start();
    Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
    const auto purge = [this](QDate lo, QDate hi, std::function<void(frmPurgeData&)> more) {
        answer<frmPurgeData>([=](frmPurgeData& f) {
            EXPECT_EQ(f.dtLoDate->date(), QDate(2026, 12, 6));
            f.dtLoDate->setDate(lo);
            f.dtHighDate->setDate(hi);
            f.OKButton->click();
            if (more)
                more(f);
        });
        choose("mnuToolsPurgeDietData");
    };
    // Out of order: the message, and the dialog stays open until corrected; No deletes nothing.
    boxes.answer(vbOK);
    boxes.answer(vbNo);
    purge(QDate(2000, 1, 1), QDate(1999, 12, 31), [](frmPurgeData& f) {
        EXPECT_TRUE(f.txtCloseMode->text().isEmpty());
        f.dtLoDate->setDate(QDate(1999, 1, 1));
        f.OKButton->click();
        f.CancelButton->click();
    });
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("The First Date must be less than or equal to the Second Date."));
    EXPECT_EQ(boxes.boxes()[1].prompt,
              QStringLiteral("Are you sure you want to Delete all Diet Activity Data from "
                             "01/01/1999 to 12/31/1999?\n\n2 entries of User 1 will be deleted."));
    EXPECT_EQ(boxes.boxes()[1].title, QStringLiteral("Delete Confirmation"));
    EXPECT_EQ(w().tvwDiet->Count(), 3);

    // Without a checked copy of the log nothing is deleted, and the user is told why.
    const QString backups = blockBackups();
    purge(QDate(1999, 1, 1), QDate(1999, 12, 31), {});
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_TRUE(boxes.boxes()[3].prompt.startsWith(
        QStringLiteral("A checked backup copy of the diet log could not be made, so nothing was "
                       "deleted.")));
    EXPECT_EQ(w().tvwDiet->Count(), 3);
    ASSERT_TRUE(QFile::remove(backups));

    purge(QDate(1999, 1, 1), QDate(1999, 12, 31), {}); // both ends included
    const QList<BackupInfo> copies = listBackups(db.path());
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(queryValue(copies[0].path, QStringLiteral("PRAGMA integrity_check")).toString(),
              QStringLiteral("ok"));
    EXPECT_EQ(queryValue(copies[0].path, QStringLiteral("SELECT count(*) FROM DietActivity")), 4);
    EXPECT_EQ(w().tvwDiet->Count(), 1);
    EXPECT_TRUE(w().tvwDiet->Item(QStringLiteral("DT20000101")));
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), QStringLiteral("SELECT group_concat(DietId) FROM "
                                                   "DietActivity")),
              QStringLiteral("3,4"));
}
