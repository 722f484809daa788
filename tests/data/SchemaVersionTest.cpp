// Files of other layout versions: an older one is brought up to date as it is opened, a newer
// one is refused and left untouched.
#include "SchemaVersion.h"
#include "DatabaseBuilder.h"
#include "Recordset.h"
#include "Restore.h"
#include "SqlProbe.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Opening fails, leaves the file closed and changes not a byte of it.
static void refused(const QString& path) {
    const QByteArray before = fileBytes(path);
    Database db;
    EXPECT_THROW(db.openExclusive(path), DbError);
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(fileBytes(path) == before) << "the file was changed";
}

// Built from the layout older programs used (weights in INTEGER columns, no DietDay), then given
// what they left in it: diet entries in every measure, the weights in whole grams and no version.
static void buildVersion0(const QTemporaryDir& dir, const QString& path) {
    const QString seedDir = seed::defaultSeedDir();
    ASSERT_TRUE(writeFile(dir.filePath(u"schema.sql"_s),
                          fileBytes(seedDir + u"/schema.sql"_s)
                              .replace("USDA_GM_WT   REAL", "USDA_GM_WT   INTEGER")));
    for (const QString& name : {u"usda"_s, u"standing_rows.sql"_s})
        ASSERT_TRUE(QFile::link(seedDir + u'/' + name, dir.filePath(name)));
    QString error;
    ASSERT_TRUE(seed::buildDatabase(path, {dir.path(), {1001, 1153, 2047}}, &error))
        << qPrintable(error);
    const QString diet =
        u"INSERT INTO DietActivity (UserName, DietDate, USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) "_s;
    for (const QString& sql : {diet + u"SELECT 'USER1', '2026-12-01', USDA_NDB_NO, MSRE_NO, GM_WT "
                                      "FROM FoodItem JOIN USDA_Measures ON NDB_NO = USDA_NDB_NO"_s,
                               diet + u"VALUES ('USER1', '2026-12-02', 0, 0, 7), "
                                      "('USER1', '2026-12-02', 1001, 99, 12)"_s,
                               u"UPDATE FoodItem SET USDA_GM_WT = round(USDA_GM_WT)"_s,
                               u"UPDATE DietActivity SET USDA_GM_WT = round(USDA_GM_WT)"_s,
                               u"DROP TABLE DietDay"_s, u"PRAGMA user_version = 0"_s})
        queryValue(path, sql);
}

TEST(SchemaVersion, AnOlderFileGetsExactGramWeightsAllAtOnceOrNotAtAllANewerOneIsRefused) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"ForkData.mdb"_s);
    ASSERT_NO_FATAL_FAILURE(buildVersion0(dir, path));
    const QString dash =
        u"SELECT USDA_GM_WT FROM DietActivity WHERE USDA_NDB_NO = 2047 AND USDA_MSRE_NO = 4"_s;
    ASSERT_EQ(queryValue(path, dash), 0); // table salt's dash of 0.4 g, in whole grams
    // A backup copy of that layout can be restored: its weights declared INTEGER read as numbers.
    EXPECT_EQ(checkBackup(path), QString());

    // A step that fails undoes those before it: the foods' weights are made exact first, then
    // the entries', which this index refuses once two of one user have weights with decimals.
    queryValue(path, u"CREATE UNIQUE INDEX Refuse ON DietActivity (UserName) "
                     "WHERE USDA_GM_WT <> round(USDA_GM_WT)"_s);
    refused(path);
    queryValue(path, u"DROP INDEX Refuse"_s);

    Database db;
    db.openExclusive(path);
    // A weight with decimals in a column declared INTEGER is handed out as what it is.
    EXPECT_EQ(Recordset::openSnapshot(db, u"SELECT USDA_GM_WT FROM FoodItem WHERE FoodId = 1153"_s)
                  ->Fields(u"USDA_GM_WT"_s),
              31.5);
    db.close();
    EXPECT_EQ(queryValue(path, u"PRAGMA user_version"_s), kSchemaVersion);
    EXPECT_EQ(queryValue(path, dash), 0.4);
    const QString inexact =
        u"SELECT count(*) FROM %1 JOIN USDA_Measures ON NDB_NO = USDA_NDB_NO AND "
        "MSRE_NO = USDA_MSRE_NO WHERE USDA_GM_WT <> GM_WT"_s;
    EXPECT_EQ(queryValue(path, inexact.arg(u"FoodItem"_s)), 0);
    EXPECT_EQ(queryValue(path, inexact.arg(u"DietActivity"_s)), 0);
    // Entries without a USDA measure keep their weights.
    EXPECT_EQ(queryValue(path, u"SELECT group_concat(USDA_GM_WT, ' ') FROM "
                               "DietActivity WHERE DietDate = '2026-12-02'"_s),
              u"7 12"_s);

    // A file of a newer program (the user is told to install that version).
    queryValue(path, u"PRAGMA user_version = %1"_s.arg(kSchemaVersion + 1));
    refused(path);
}
