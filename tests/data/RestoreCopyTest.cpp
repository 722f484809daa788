// A file in Backups is trusted on nothing but what it holds: one laid out otherwise than the
// program's files of its version, written by a newer version, kept in WAL mode or damaged is
// listed with why, never reaches the log, and leaves no file beside it.
#include "DataStoreFixture.h"
#include "Recordset.h"
#include "Restore.h"
#include "SchemaVersion.h"
#include "Snapshot.h"

#include <QDir>
#include <iterator>
#include <sqlite3.h>

namespace {

class RestoreCopyTest : public DataStoreTest {
protected:
    void SetUp() override {
        DataStoreTest::SetUp();
        Clock::setFixed(QDateTime(day(7), QTime(3, 0)));
    }
    void TearDown() override {
        Clock::setFixed({});
        DataStoreTest::TearDown();
    }
    QString backups() const { return db.programDir() + u"/Data/Backups/"_s; }
    QString entries() {
        return Recordset::openSnapshot(
                   ds().appDB, u"SELECT group_concat(FoodName) AS Names FROM DietActivity"_s)
            ->Fields(u"Names"_s)
            .toString();
    }
    const QStringList users = {u"USER1"_s, u"USER2"_s, u"USER3"_s, u"USER4"_s};
};

// Runs SQL of one or more statements on the file at `path`, in one connection.
void run(const QString& path, const QString& sql) {
    sqlite3* db = nullptr;
    char* error = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << qPrintable(sql) << ": " << (error ? error : sqlite3_errmsg(db));
    sqlite3_free(error);
    sqlite3_close(db);
}

} // namespace

TEST_F(RestoreCopyTest,
       ACopyLaidOutOtherwiseNewerInWalModeOrDamagedIsListedWithWhyAndNeverRestored) {
    addDiet(u1, day(1), u"Banana"_s);
    const SnapshotResult good = takeSnapshot(ds().appDB);
    ASSERT_TRUE(good.status == SnapshotResult::Taken) << qPrintable(good.reason);
    addDiet(u1, day(2), u"Egg"_s);
    const QByteArray bytes = fileBytes(good.path);
    const QString page = queryValue(good.path, u"PRAGMA page_size"_s).toString();
    const auto rootOf = [&](const char* index) {
        return queryValue(good.path, u"SELECT rootpage FROM sqlite_master WHERE name = '%1'"_s.arg(
                                         QString::fromLatin1(index)))
            .toLongLong();
    };
    QByteArray brokenIndex = bytes;
    brokenIndex[(rootOf("FoodItem_Group") - 1) * page.toLongLong()] = 0x7f;

    const QString notOurs = u"not a Forkwise copy"_s;
    const struct {
        const char* what;
        QString sql;         // run on a copy of the good one, or
        QByteArray replaced; // its bytes instead
        QString listed;      // what the list shows in place of the counts ("" for the counts)
        QString refused;     // how a restore is refused: the start of the reason
    } strangers[] = {
        {"a trigger",
         u"CREATE TRIGGER Wipe AFTER INSERT ON DietActivity BEGIN DELETE FROM DietActivity "
         "WHERE DietId <> new.DietId; END"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a view",
         u"CREATE VIEW Totals AS SELECT count(*) FROM DietActivity"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a view without end in the place of the entries",
         u"ALTER TABLE DietActivity RENAME TO Kept; CREATE VIEW DietActivity AS WITH RECURSIVE "
         "n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT 'USER1' AS UserName FROM n"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a column missing",
         u"ALTER TABLE DietActivity DROP COLUMN Other2"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"an index of its own",
         u"CREATE INDEX Extra ON FoodItem (FoodName)"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a check on the entries",
         u"PRAGMA writable_schema = ON; UPDATE sqlite_schema SET sql = substr(sql, 1, "
         "length(sql) - 1) || ', CHECK (Fat >= 0))' WHERE name = 'DietActivity'"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a WAL header",
         u"PRAGMA journal_mode = WAL"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a negative version",
         u"PRAGMA user_version = -1"_s,
         {},
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"a newer version",
         u"PRAGMA user_version = %1"_s.arg(kSchemaVersion + 1),
         {},
         u"newer version"_s,
         u"The copy was written by a newer version of Forkwise."_s},
        {"no database",
         {},
         QByteArray("a shopping list\n").repeated(300),
         notOurs,
         u"The copy is not a Forkwise diet log."_s},
        {"half of it", {}, bytes.left(bytes.size() / 2), u"damaged"_s, u"The copy is damaged."_s},
        // The list reads no page it does not need; the check at a restore reads them all.
        {"a broken index", {}, brokenIndex, QString(), u"The copy failed its integrity check: "_s},
    };
    int minute = 0;
    for (const auto& stranger : strangers) {
        SCOPED_TRACE(stranger.what);
        const QString path =
            backups() + u"ForkData 2026-12-06 12%1.mdb"_s.arg(++minute * 100, 4, 10, QChar(u'0'));
        ASSERT_TRUE(writeFile(path, stranger.replaced.isNull() ? bytes : stranger.replaced));
        if (!stranger.sql.isEmpty())
            run(path, stranger.sql);
        const CopySummary summary = summarizeBackup(path, users);
        EXPECT_EQ(copyFaultText(summary.fault), stranger.listed);
        EXPECT_EQ(summary.counted, stranger.listed.isEmpty());
        EXPECT_TRUE(checkBackup(path).startsWith(stranger.refused))
            << qPrintable(checkBackup(path));
        const RestoreResult restored = restoreFromCopy(ds().appDB, path, true);
        EXPECT_FALSE(restored.changed);
        EXPECT_FALSE(restored.snapshotFailed);
        EXPECT_TRUE(restored.reason.startsWith(stranger.refused)) << qPrintable(restored.reason);
        EXPECT_EQ(entries(), u"Banana,Egg"_s);
    }
    // No copy of the present state was named for a refused restore, and SQLite left nothing
    // beside the copies it read.
    EXPECT_EQ(listBackups(db.path()).size(), qsizetype(std::size(strangers)) + 1);
    EXPECT_EQ(QDir(backups()).entryList({u"*-wal"_s, u"*-shm"_s, u"*-journal"_s}).join(u','),
              QString());

    // A copy counted past its time shows "?"; one in time its entries; it is restored as it is.
    run(good.path, u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                   "100000) INSERT INTO DietActivity (UserName, DietDate, FoodName) SELECT "
                   "'USER2', '2026-12-03', 'Fig' FROM n"_s);
    EXPECT_FALSE(summarizeBackup(good.path, users, 0).counted);
    const CopySummary counted = summarizeBackup(good.path, users);
    EXPECT_EQ(counted.fault, CopyFault::None);
    EXPECT_EQ(counted.counts, (QList<qint64>{1, 100000, 0, 0}));
    const RestoreResult restored = restoreFromCopy(ds().appDB, good.path, true);
    EXPECT_TRUE(restored.changed && restored.reason.isEmpty()) << qPrintable(restored.reason);
    EXPECT_EQ(Recordset::openSnapshot(ds().appDB, u"SELECT count(*) AS n FROM DietActivity"_s)
                  ->Fields(u"n"_s),
              100001);
}

TEST_F(RestoreCopyTest, ACopyIsComparedWithTheLayoutOfItsOwnVersionAndAnOlderOneIsBroughtUpToDate) {
    addDiet(u1, day(1), u"Banana"_s);
    addDiet(u"USER2"_s, day(2), u"Egg"_s);
    const SnapshotResult taken = takeSnapshot(ds().appDB);
    ASSERT_TRUE(taken.status == SnapshotResult::Taken) << qPrintable(taken.reason);
    const QByteArray bytes = fileBytes(taken.path);
    const QString notOurs = u"The copy is not a Forkwise diet log."_s;
    const struct {
        const char* what;
        QString sql;
        QString refused;
    } copies[] = {
        {"this version's", {}, {}},
        {"of version 1", u"DROP TABLE DietDay; PRAGMA user_version = 1"_s, {}},
        {"without the days", u"DROP TABLE DietDay"_s, notOurs},
        {"of version 1 with the days", u"PRAGMA user_version = 1"_s, notOurs},
    };
    const auto pathOf = [this](int i) {
        return backups() + u"ForkData 2026-12-06 12%1.mdb"_s.arg((i + 1) * 100, 4, 10, QChar(u'0'));
    };
    for (int i = 0; i < int(std::size(copies)); ++i) {
        SCOPED_TRACE(copies[i].what);
        ASSERT_TRUE(writeFile(pathOf(i), bytes));
        if (!copies[i].sql.isEmpty())
            run(pathOf(i), copies[i].sql);
        EXPECT_EQ(checkBackup(pathOf(i)), copies[i].refused);
    }

    addDiet(u1, day(3), u"Fig"_s);
    const RestoreResult restored = restoreFromCopy(ds().appDB, pathOf(1), true);
    EXPECT_TRUE(restored.changed && restored.reason.isEmpty()) << qPrintable(restored.reason);
    EXPECT_EQ(value(u"PRAGMA user_version"_s), kSchemaVersion);
    EXPECT_EQ(value(u"SELECT group_concat(UserName || ' ' || DietDate, ', ') FROM (SELECT * "
                    "FROM DietDay ORDER BY 1, 2)"_s),
              u"USER1 2026-12-01, USER2 2026-12-02"_s);
}
