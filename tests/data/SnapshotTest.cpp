// Checked copies of the open diet log in Backups: made only of a changed file, never left
// half-written, thinned out to the newest, weekly and monthly ones whatever the clock says, and
// never confused with the log itself.
#include "Snapshot.h"
#include "DataStoreFixture.h"
#include "Recordset.h"
#include "Restore.h"

#include <QDir>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class SnapshotTest : public DataStoreTest {
protected:
    void SetUp() override {
        DataStoreTest::SetUp();
        Clock::setFixed(QDateTime(day(7), QTime(3, 15, 22))); // a Monday
    }
    void TearDown() override {
        Clock::setFixed({});
        DataStoreTest::TearDown();
    }
    QString backups() const { return db.programDir() + u"/Data/Backups"_s; }
    QStringList files() const {
        return QDir(backups()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    SnapshotResult::Status snapshot(bool force = false) {
        last = takeSnapshot(ds().appDB, force);
        return last.status;
    }
    SnapshotResult last;
};

// Every diet entry as one text, to compare the log with a copy.
const QString kEntries = u"SELECT count(*) || ':' || group_concat(DietId || UserName || DietDate "
                         "|| FoodName || Fat, ',') AS Entries FROM DietActivity"_s;

} // namespace

TEST_F(SnapshotTest, AChangedLogIsCopiedAndCheckedAnUnchangedOneIsSkippedAlsoAfterARestart) {
    addDiet(u1, day(1), u"Banana"_s);
    addDiet(u"USER2"_s, day(2), u"Apple"_s, 2.5);
    ASSERT_EQ(snapshot(), SnapshotResult::Taken) << qPrintable(last.reason);
    EXPECT_EQ(last.path, backups() + u"/ForkData 2026-12-07 031522.mdb"_s);
    EXPECT_EQ(queryValue(last.path, u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_EQ(queryValue(last.path, kEntries),
              Recordset::openSnapshot(ds().appDB, kEntries)->Fields(u"Entries"_s));
    EXPECT_EQ(summarizeBackup(last.path, {u1, u"USER2"_s, u"USER3"_s}).counts,
              (QList<qint64>{1, 1, 0}));

    EXPECT_EQ(snapshot(), SnapshotResult::Skipped);
    EXPECT_EQ(last.path, backups() + u"/ForkData 2026-12-07 031522.mdb"_s);
    // A write after a copy in the same run (the file change counter stays put while the lock is
    // held); a second copy within the same second gets a number.
    addDiet(u1, day(3), u"Egg"_s);
    ASSERT_EQ(snapshot(), SnapshotResult::Taken) << qPrintable(last.reason);
    EXPECT_EQ(last.path, backups() + u"/ForkData 2026-12-07 031522 (2).mdb"_s);

    // The answer lives in the files: after a restart an unchanged log is still skipped, and a
    // log written to by a run that ended without a copy is copied. What a crash left of a copy
    // being written goes at the start and at every snapshot.
    const QString partial = backups() + u"/ForkData 2026-12-07 031522 (3).mdb.partial"_s;
    ASSERT_TRUE(writeFile(partial, "half"));
    ds().closeDB();
    ASSERT_TRUE(ds().connectDB());
    EXPECT_FALSE(QFile::exists(partial));
    ASSERT_TRUE(writeFile(partial, "half"));
    EXPECT_EQ(snapshot(), SnapshotResult::Skipped);
    EXPECT_FALSE(QFile::exists(partial));
    ds().appDB.execute(u"UPDATE DietActivity SET Fat = 9 WHERE FoodName = 'Egg'"_s);
    ds().closeDB();
    ASSERT_TRUE(ds().connectDB());
    Clock::setFixed(QDateTime(day(7), QTime(20, 0)));
    EXPECT_EQ(snapshot(), SnapshotResult::Taken);
    EXPECT_EQ(snapshot(true), SnapshotResult::Taken) << "forced";

    // Newest first, the forced copy numbered; no partial copy is left.
    const QList<BackupInfo> list = listBackups(db.path());
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(list[0].path, backups() + u"/ForkData 2026-12-07 200000 (2).mdb"_s);
    EXPECT_EQ(list[3].taken, QDateTime(day(7), QTime(3, 15, 22)));
    EXPECT_EQ(list[3].size, QFileInfo(list[3].path).size());
    EXPECT_EQ(files().size(), 4);
}

TEST_F(SnapshotTest, AFailedCopyLeavesNoFileBehindAndSaysWhy) {
    // Backups cannot be made: one message, and the caller is told nothing is saved.
    ASSERT_TRUE(writeFile(backups(), "not a folder"));
    EXPECT_FALSE(snapshotOrExplain(ds().appDB, SnapshotMoment::BeforeDeletion));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              u"A checked backup copy of the diet log could not be made, so nothing was "
              "deleted.\n\nThe folder \""_s +
                  backups() + u"\" could not be made."_s);
    EXPECT_EQ(fileBytes(backups()), "not a folder");
    ASSERT_TRUE(QFile::remove(backups()));

    // The disk fills up during the copy (a file size limit holds for root too).
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tiny{16384, previous.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const auto status = snapshot();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(status, SnapshotResult::Failed);
    EXPECT_TRUE(last.reason.contains(u"disk"_s)) << qPrintable(last.reason);
    EXPECT_EQ(files(), QStringList());

    // A damaged index is copied page for page, but the copy fails its check.
    ds().closeDB();
    const qlonglong pageSize = queryValue(db.path(), u"PRAGMA page_size"_s).toLongLong();
    const qlonglong root = queryValue(db.path(), u"SELECT rootpage FROM sqlite_master WHERE name "
                                                 "= 'DietActivity_UserDate'"_s)
                               .toLongLong();
    QByteArray bytes = fileBytes(db.path());
    bytes[(root - 1) * pageSize] = 0x7f; // no kind of page
    ASSERT_TRUE(writeFile(db.path(), bytes));
    ASSERT_TRUE(ds().connectDB());
    EXPECT_EQ(snapshot(), SnapshotResult::Failed);
    EXPECT_TRUE(last.reason.startsWith(u"The copy failed its integrity check: "_s))
        << qPrintable(last.reason);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(SnapshotTest, RotationKeepsTheNewestFiveAndTheNewestOfTheLastFourWeeksAndSixMonths) {
    // Forty older copies: daily in the last week, then weekly back to April.
    QList<QDate> days;
    for (int d = 6; d >= 1; --d)
        days << day(d);
    for (QDate d(2026, 11, 29); days.size() < 40; d = d.addDays(-7))
        days << d;
    const auto name = [](const QDate& d) {
        return u"ForkData "_s + d.toString(Qt::ISODate) + u" 120000.mdb"_s;
    };
    for (const QDate& d : days)
        ASSERT_TRUE(writeFile(backups() + u'/' + name(d), "old"));
    const QStringList strangers = {u"ForkData 2026-04-01 120000.mdb.bak"_s, u"notes.txt"_s};
    for (const QString& stranger : strangers)
        ASSERT_TRUE(writeFile(backups() + u'/' + stranger, "keep"));

    ASSERT_EQ(snapshot(), SnapshotResult::Taken) << qPrintable(last.reason);
    QStringList expected = strangers;
    expected << u"ForkData 2026-12-07 031522.mdb"_s;
    // Newest five (with today's), weeks of 30 November and 23 November, months October to July.
    for (const QDate& d :
         {day(6), day(5), day(4), day(3), QDate(2026, 11, 29), QDate(2026, 11, 22),
          QDate(2026, 10, 25), QDate(2026, 9, 27), QDate(2026, 8, 30), QDate(2026, 7, 26)})
        expected << name(d);
    expected.sort();
    EXPECT_EQ(files(), expected);
}

TEST_F(SnapshotTest, AClockSetAheadOrBackThinsOutNothingItShouldNotAndNamesNoNewestFromTheFuture) {
    const auto name = [](const QDate& d, const QTime& t) {
        return u"ForkData "_s + d.toString(Qt::ISODate) + t.toString(u" HHmmss"_s) + u".mdb"_s;
    };
    // Six copies of this morning, and three named while the clock was set ahead to next year.
    QStringList morning, ahead;
    for (int i = 0; i < 6; ++i)
        morning << name(day(7), QTime(0, 10 * i));
    for (int m = 1; m <= 3; ++m)
        ahead << name(QDate(2027, m, 1), QTime(12, 0));
    for (const QString& file : morning + ahead)
        ASSERT_TRUE(writeFile(backups() + u'/' + file, "old"));
    ASSERT_EQ(snapshot(), SnapshotResult::Taken);
    // The newest five of now, this one and four of the morning; every copy of next year.
    QStringList expected = ahead + morning.mid(2) + QStringList{name(day(7), QTime(3, 15, 22))};
    expected.sort();
    EXPECT_EQ(files().join(u','), expected.join(u','));

    // A copy of next year never counts as the newest: the log it holds is copied again now.
    addDiet(u1, day(1), u"Banana"_s);
    Clock::setFixed(QDateTime(QDate(2027, 6, 1), QTime(12, 0)));
    ASSERT_EQ(snapshot(), SnapshotResult::Taken);
    Clock::setFixed(QDateTime(day(7), QTime(4, 0)));
    EXPECT_EQ(snapshot(), SnapshotResult::Taken);
    EXPECT_EQ(snapshot(), SnapshotResult::Skipped);

    // With the clock at 2000 every other copy is of the future: none is thinned out, and the
    // list puts them after the one of now.
    addDiet(u1, day(2), u"Apple"_s);
    const QStringList before = files();
    Clock::setFixed(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    ASSERT_EQ(snapshot(), SnapshotResult::Taken);
    EXPECT_EQ(files().size(), before.size() + 1);
    const QList<BackupInfo> list = listBackups(db.path());
    EXPECT_EQ(list.first().path, last.path);
    EXPECT_TRUE(std::is_sorted(list.begin() + 1, list.end(),
                               [](const auto& a, const auto& b) { return a.taken > b.taken; }));
}

TEST_F(SnapshotTest, ALinkToTheLogIsNoCopyAndTheLockOnTheLogHolds) {
    ASSERT_EQ(snapshot(), SnapshotResult::Taken);
    const QString taken = last.path;
    // Named like newer copies: a symbolic link and a second name of the log's own file.
    const QString symlink = backups() + u"/ForkData 2026-12-07 031600.mdb"_s;
    const QString hardlink = backups() + u"/ForkData 2026-12-07 031700.mdb"_s;
    ASSERT_TRUE(QFile::link(db.path(), symlink));
    ASSERT_EQ(
        ::link(QFile::encodeName(db.path()).constData(), QFile::encodeName(hardlink).constData()),
        0);
    addDiet(u1, day(1), u"Banana"_s);
    Clock::setFixed(QDateTime(day(7), QTime(3, 20)));
    EXPECT_EQ(snapshot(), SnapshotResult::Taken);
    const QList<BackupInfo> list = listBackups(db.path());
    EXPECT_EQ(list.size(), 2);
    EXPECT_EQ(list.value(1).path, taken);
    for (const QString& link : {symlink, hardlink}) {
        const RestoreResult restored = restoreFromCopy(ds().appDB, link);
        EXPECT_FALSE(restored.changed);
        EXPECT_EQ(restored.reason, u"The copy is not a Forkwise diet log."_s);
    }
    // Another process still cannot read the log: nothing opened it a second time.
    QProcess reader;
    reader.start(u"sqlite3"_s, {db.path(), u"SELECT count(*) FROM CONFIG;"_s});
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_NE(reader.exitCode(), 0) << reader.readAllStandardOutput().constData();
    EXPECT_TRUE(QFileInfo(symlink).isSymLink() && QFile::exists(hardlink));
}
