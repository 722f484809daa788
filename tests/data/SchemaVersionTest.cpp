// Files of other layout versions: an older one is brought up to date as it is opened, a newer
// one is refused and left untouched.
#include "SchemaVersion.h"
#include "DatabaseBuilder.h"
#include "Recordset.h"
#include "SqlProbe.h"
#include "TestDatabase.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void exec(const QString& path, const QStringList& statements) {
    for (const QString& sql : statements)
        queryRows(path, sql);
}

const QString kDash = QStringLiteral(
    "SELECT USDA_GM_WT FROM DietActivity WHERE USDA_NDB_NO = 2047 AND USDA_MSRE_NO = 4");

// Built from the layout older programs used (weights in INTEGER columns), then given what they
// left in it: diet entries in every measure, the weights in whole grams and no version.
void buildVersion0(const QTemporaryDir& dir, const QString& path) {
    const QString seedDir = seed::defaultSeedDir();
    QFile schema(seedDir + QStringLiteral("/schema.sql"));
    QFile oldSchema(dir.filePath(QStringLiteral("schema.sql")));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly) && oldSchema.open(QIODevice::WriteOnly));
    oldSchema.write(schema.readAll().replace("USDA_GM_WT   REAL", "USDA_GM_WT   INTEGER"));
    oldSchema.close();
    for (const QString& name : {QStringLiteral("usda"), QStringLiteral("standing_rows.sql")})
        ASSERT_TRUE(QFile::link(seedDir + u'/' + name, dir.filePath(name)));
    QString error;
    ASSERT_TRUE(seed::buildDatabase(path, {dir.path(), {1001, 1153, 2047}}, &error))
        << qPrintable(error);
    const QString diet = QStringLiteral(
        "INSERT INTO DietActivity (UserName, DietDate, USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) ");
    exec(path, {diet + QStringLiteral("SELECT 'USER1', '2026-12-01', USDA_NDB_NO, MSRE_NO, GM_WT "
                                      "FROM FoodItem JOIN USDA_Measures ON NDB_NO = USDA_NDB_NO"),
                diet + QStringLiteral("VALUES ('USER1', '2026-12-02', 0, 0, 7), "
                                      "('USER1', '2026-12-02', 1001, 99, 12)"),
                QStringLiteral("UPDATE FoodItem SET USDA_GM_WT = round(USDA_GM_WT)"),
                QStringLiteral("UPDATE DietActivity SET USDA_GM_WT = round(USDA_GM_WT)"),
                QStringLiteral("PRAGMA user_version = 0")});
}

} // namespace

TEST(SchemaVersion, AnOlderFileGetsExactGramWeightsOnOpenAllAtOnceOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ForkData.mdb"));
    ASSERT_NO_FATAL_FAILURE(buildVersion0(dir, path));
    ASSERT_EQ(queryValue(path, kDash), 0); // table salt's dash of 0.4 g, in whole grams

    // A step that fails undoes those before it: the open fails and the file stays as it was.
    exec(path, {QStringLiteral("CREATE TRIGGER Refuse BEFORE UPDATE ON DietActivity "
                               "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
    const QByteArray before = bytes(path);
    Database db;
    EXPECT_THROW(db.openExclusive(path), DbError);
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(bytes(path) == before) << "the file was changed";
    exec(path, {QStringLiteral("DROP TRIGGER Refuse")});

    db.openExclusive(path);
    // A weight with decimals in a column declared INTEGER is handed out as what it is.
    auto milk = Recordset::openSnapshot(db, QStringLiteral("SELECT USDA_GM_WT FROM FoodItem "
                                                           "WHERE FoodId = 1153"));
    const QVariant grams = milk->Fields(QStringLiteral("USDA_GM_WT"));
    EXPECT_EQ(grams.typeId(), QMetaType::Double);
    EXPECT_EQ(grams, 31.5);
    milk.reset();
    db.close();
    EXPECT_EQ(queryValue(path, QStringLiteral("PRAGMA user_version")), kSchemaVersion);
    EXPECT_EQ(queryValue(path, kDash), 0.4);
    const QString inexact =
        QStringLiteral("SELECT count(*) FROM %1 JOIN USDA_Measures ON NDB_NO = USDA_NDB_NO AND "
                       "MSRE_NO = USDA_MSRE_NO WHERE USDA_GM_WT <> GM_WT");
    EXPECT_EQ(queryValue(path, inexact.arg(QStringLiteral("FoodItem"))), 0);
    EXPECT_EQ(queryValue(path, inexact.arg(QStringLiteral("DietActivity"))), 0);
    // Entries without a USDA measure keep their weights.
    EXPECT_EQ(queryValue(path, QStringLiteral("SELECT group_concat(USDA_GM_WT, ' ') FROM "
                                              "DietActivity WHERE DietDate = '2026-12-02'")),
              QStringLiteral("7 12"));
}

// The connection fails (the user sees the connection message) before anything is written.
TEST(SchemaVersion, ANewerFileIsRefusedAndLeftByteForByte) {
    TestDatabase file;
    exec(file.path(), {QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1)});
    const QByteArray before = bytes(file.path());
    Database db;
    EXPECT_THROW(db.openExclusive(file.path()), DbError);
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(bytes(file.path()) == before) << "the file was changed";
    EXPECT_FALSE(QFile::exists(file.path() + QStringLiteral("-journal")));
}
