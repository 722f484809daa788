// The delivered catalogue: forkwise-mkdb's whole database, checked against the USDA source.

#include "DatabaseBuilder.h"
#include "SqlProbe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

// Runs the real tool, as the Makefile does; returns what it printed, or fails the test.
static QByteArray mkdb(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral(FORKWISE_MKDB), {path});
    EXPECT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    return tool.readAllStandardOutput();
}

// A value from the full catalogue, built once per test program.
static QVariant value(const QString& sql) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(u"Data/ForkData.mdb"_s);
    [[maybe_unused]] static const QByteArray built = mkdb(path);
    return queryValue(path, sql);
}

TEST(DeliveredCatalogue, HoldsTheGroupsFavouritesCountersAndEveryFoodInAMeasureOfItsExactWeight) {
    // The layout's version; the diet log, empty.
    EXPECT_EQ(value(u"SELECT user_version || ' ' || (SELECT COUNT(*) FROM DietActivity) FROM "
                    "pragma_user_version"_s),
              u"2 0"_s);
    EXPECT_EQ(
        value(u"SELECT group_concat(GroupTag || ' ' || ParentGroup || ' ' || GroupName, ' | ') "
              "FROM (SELECT * FROM FoodGroup WHERE GroupTag <> 'GROUP' ORDER BY GroupId)"_s),
        u"GROUPROOT 0 USDA Foods | FAVORITE 0 Favorites"_s);
    // All groups; the original foods in the USDA groups below the root, and those groups.
    EXPECT_EQ(value(u"SELECT (SELECT COUNT(*) FROM FoodGroup) || ' ' || COUNT(*) || ' ' || "
                    "COUNT(DISTINCT GroupId) FROM FoodItem JOIN FoodGroup USING (GroupId) WHERE "
                    "FoodId = USDA_NDB_NO AND GroupTag = 'GROUP' AND ParentGroup = (SELECT "
                    "GroupId FROM FoodGroup WHERE GroupTag = 'GROUPROOT')"_s),
              u"27 7907 25"_s);
    // Listed by USDA, numbered into another group, placed by hand.
    EXPECT_EQ(value(u"SELECT group_concat(GroupName, ' | ') FROM (SELECT GroupName FROM FoodGroup "
                    "JOIN FoodItem USING (GroupId) WHERE FoodId IN (1001, 23999, 42130) "
                    "ORDER BY FoodId)"_s),
              u"Dairy and Egg Products | Beef Products | Sausages and Luncheon Meats"_s);
    // 1 where the counter is at least the largest key, so new rows get new keys.
    EXPECT_EQ(value(u"SELECT group_concat(KeyName || '=' || CASE KeyName "
                    "WHEN 'FOODGROUP' THEN KeyValue >= (SELECT MAX(GroupId) FROM FoodGroup) "
                    "WHEN 'FOODITEM' THEN KeyValue >= (SELECT MAX(FoodId) FROM FoodItem) "
                    "ELSE KeyValue END, ' ') FROM (SELECT * FROM TableKey ORDER BY KeyName)"_s),
              u"DIETACTIVITY=0 FOODGROUP=1 FOODITEM=1"_s);
    // Ten favourites, each a copy of its original under a number above the largest NDB number.
    EXPECT_EQ(
        value(u"SELECT COUNT(*) || ' ' || COUNT(o.FoodId) FROM FoodItem c LEFT JOIN "
              "FoodItem o ON o.FoodId = c.USDA_NDB_NO AND c.FoodId > 93600 AND (c.FoodName, "
              "c.ServingSize, c.Fat, c.Calorie, c.USDA_MSRE_NO, c.USDA_GM_WT) IS (o.FoodName, "
              "o.ServingSize, o.Fat, o.Calorie, o.USDA_MSRE_NO, o.USDA_GM_WT) WHERE c.GroupId "
              "= (SELECT GroupId FROM FoodGroup WHERE GroupTag = 'FAVORITE')"_s),
        u"10 10"_s);

    // Measures are numbered 1, 2, ... with "100 g" last.
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM (SELECT NDB_NO, MAX(MSRE_NO) AS n, COUNT(*) AS c "
                    "FROM USDA_Measures GROUP BY NDB_NO) JOIN USDA_Measures m USING (NDB_NO) "
                    "WHERE m.MSRE_NO = n AND (n <> c OR m.MSRE_DESC <> '100 g' OR "
                    "m.GM_WT <> 100)"_s),
              0);
    // The source's measure texts and weights as they are, a dash of table salt included.
    EXPECT_EQ(value(u"SELECT group_concat(MSRE_DESC || '=' || GM_WT, ' | ') FROM (SELECT * FROM "
                    "USDA_Measures WHERE (NDB_NO, MSRE_NO) IN (VALUES (1001, 3), (1153, 2), "
                    "(2047, 4)) ORDER BY NDB_NO)"_s),
              u"1 pat (1\" sq, 1/3\" high)=5.0 | 0.5 cup=126.0 | 1 dash=0.4"_s);
    // Original foods; all foods, those in a measure of their own, those with its text and its
    // weight, those whose weight has decimals.
    EXPECT_EQ(value(u"SELECT (SELECT COUNT(*) FROM FoodItem WHERE FoodId = USDA_NDB_NO) || ' ' "
                    "|| COUNT(*) || ' ' || COUNT(m.NDB_NO) || ' ' || SUM(f.ServingSize = "
                    "m.MSRE_DESC AND f.USDA_GM_WT = m.GM_WT) || ' ' || SUM(f.USDA_GM_WT <> "
                    "round(f.USDA_GM_WT)) FROM FoodItem f LEFT JOIN USDA_Measures m "
                    "ON m.NDB_NO = f.USDA_NDB_NO AND m.MSRE_NO = f.USDA_MSRE_NO"_s),
              u"7907 7917 7917 7917 1456"_s);
    // Serving, measure and grams, then fat, protein, carbohydrate, calories, sodium, cholesterol,
    // fiber and sugars: salted butter's 100 g values times 2.27 for its cup of 227 g; evaporated
    // milk's times 0.315 for its fluid ounce of 31.5 g, without sugars in the source.
    EXPECT_EQ(value(u"SELECT group_concat(printf('%s|%s|%s|%s %s %s %s %s %s %s %s', ServingSize, "
                    "USDA_MSRE_NO, USDA_GM_WT, Fat, Protein, Carbohydrate, Calorie, Sodium, "
                    "Cholesterol, Other1, ifnull(Other2, '-')), ' / ') FROM (SELECT * FROM "
                    "FoodItem WHERE FoodId IN (1001, 1153) ORDER BY FoodId)"_s),
              u"1 cup|1|227.0|184.1197 1.9295 0.1362 1627.59 1620.78 488.05 0.0 0.1362 / "
              "1 fl oz|1|31.5|2.3814 2.14515 3.1626 42.21 33.39 9.135 0.0 -"_s);
}

// The file at the path may be the household's diet log: it is never replaced or changed.
TEST(DatabaseBuilder, LeavesAnExistingFileAndHalfBuiltFilesAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Data/ForkData.mdb"_s);
    const QByteArray log = "not rebuilt: the diet log\0\1\2"_ba;
    ASSERT_TRUE(writeFile(path, log));
    QString error;
    EXPECT_FALSE(seed::buildDatabase(path, {}, &error));
    EXPECT_TRUE(mkdb(path).contains("left untouched"));
    EXPECT_EQ(fileBytes(path), log);
    EXPECT_EQ(QDir(dir.filePath(u"Data"_s)).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"ForkData.mdb"_s});

    // A build that fails half-way leaves nothing behind.
    QTemporaryDir broken;
    for (const QString& name : {u"usda"_s, u"schema.sql"_s})
        ASSERT_TRUE(QFile::link(seed::defaultSeedDir() + u'/' + name, broken.filePath(name)));
    ASSERT_TRUE(
        writeFile(broken.filePath(u"standing_rows.sql"_s), "INSERT INTO NoSuchTable VALUES (1);"));
    EXPECT_FALSE(
        seed::buildDatabase(dir.filePath(u"Other/ForkData.mdb"_s), {broken.path(), {}}, &error));
    EXPECT_TRUE(error.contains(u"NoSuchTable"_s)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.filePath(u"Other"_s)).entryList(QDir::Files | QDir::Hidden), QStringList());
}
