// The delivered catalogue: forkwise-mkdb's whole database, checked against the USDA source.

#include "DatabaseBuilder.h"
#include "SqlProbe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// One full catalogue per test program, built the way the Makefile builds it.
class DeliveredCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        QProcess mkdb;
        mkdb.start(QStringLiteral(FORKWISE_MKDB), {path()});
        ASSERT_TRUE(mkdb.waitForFinished(60000));
        ASSERT_EQ(mkdb.exitCode(), 0) << mkdb.readAllStandardError().constData();
    }
    static void TearDownTestSuite() { dir_.reset(); }
    static QString path() { return dir_->path() + u"/Data/ForkData.mdb"_s; }
    static QVariant value(const QString& sql) { return queryValue(path(), sql); }

    static std::unique_ptr<QTemporaryDir> dir_;
};
std::unique_ptr<QTemporaryDir> DeliveredCatalogue::dir_;

TEST_F(DeliveredCatalogue, HoldsTheStandingRowsAndTheFavouritesWithCountersAtTheLargestKeys) {
    EXPECT_EQ(value(u"PRAGMA user_version"_s), 1);
    EXPECT_EQ(
        value(u"SELECT group_concat(GroupTag || ' ' || ParentGroup || ' ' || GroupName, ' | ') "
              "FROM (SELECT * FROM FoodGroup WHERE GroupTag <> 'GROUP' ORDER BY GroupId)"_s),
        u"GROUPROOT 0 USDA Foods | FAVORITE 0 Favorites"_s);
    // 1 where the counter is at least the largest key, so new rows get new keys.
    EXPECT_EQ(value(u"SELECT group_concat(KeyName || '=' || CASE KeyName "
                    "WHEN 'FOODGROUP' THEN KeyValue >= (SELECT MAX(GroupId) FROM FoodGroup) "
                    "WHEN 'FOODITEM' THEN KeyValue >= (SELECT MAX(FoodId) FROM FoodItem) "
                    "ELSE KeyValue END, ' ') FROM (SELECT * FROM TableKey ORDER BY KeyName)"_s),
              u"DIETACTIVITY=0 FOODGROUP=1 FOODITEM=1"_s);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM DietActivity"_s), 0);
    // Ten favourites, each a copy of its original under a number above the largest NDB number.
    EXPECT_EQ(
        value(u"SELECT COUNT(*) || ' ' || COUNT(o.FoodId) FROM FoodItem c LEFT JOIN FoodItem o "
              "ON o.FoodId = c.USDA_NDB_NO AND c.FoodId > 93600 AND c.FoodName = o.FoodName "
              "AND c.ServingSize = o.ServingSize AND c.Fat IS o.Fat "
              "AND c.Calorie IS o.Calorie AND c.USDA_MSRE_NO = o.USDA_MSRE_NO "
              "AND c.USDA_GM_WT = o.USDA_GM_WT WHERE c.GroupId = "
              "(SELECT GroupId FROM FoodGroup WHERE GroupTag = 'FAVORITE')"_s),
        u"10 10"_s);
}

TEST_F(DeliveredCatalogue, PlacesEveryFoodInItsUsdaGroupBelowTheRoot) {
    // The USDA groups below the root, all groups, USDA groups without foods, original foods in
    // other groups, foods in no group.
    EXPECT_EQ(
        value(u"SELECT (SELECT COUNT(*) %1) || ' ' || (SELECT COUNT(*) FROM FoodGroup) || ' ' "
              "|| (SELECT COUNT(*) %1 AND GroupId NOT IN (SELECT GroupId FROM FoodItem)) "
              "|| ' ' || (SELECT COUNT(*) FROM FoodItem WHERE FoodId = USDA_NDB_NO AND "
              "GroupId NOT IN (SELECT GroupId %1)) || ' ' || (SELECT COUNT(*) FROM FoodItem "
              "WHERE GroupId NOT IN (SELECT GroupId FROM FoodGroup))"_s.arg(
                  u"FROM FoodGroup WHERE GroupTag = 'GROUP' AND ParentGroup = (SELECT "
                  "GroupId FROM FoodGroup WHERE GroupTag = 'GROUPROOT')"_s)),
        u"25 27 0 0 0"_s);
    // Listed by USDA, numbered into another group, placed by hand.
    EXPECT_EQ(value(u"SELECT group_concat(GroupName, ' | ') FROM (SELECT GroupName FROM FoodGroup "
                    "JOIN FoodItem USING (GroupId) WHERE FoodId IN (1001, 23999, 42130) "
                    "ORDER BY FoodId)"_s),
              u"Dairy and Egg Products | Beef Products | Sausages and Luncheon Meats"_s);
}

TEST_F(DeliveredCatalogue, ServesEveryFoodInOneOfItsMeasuresWithValuesForItsExactWeight) {
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

    // Serving, measure number and grams; then fat, protein, carbohydrate, calories, sodium,
    // cholesterol, fiber, sugars.
    const auto food = [](int id) {
        return queryRows(path(),
                         u"SELECT ServingSize || '|' || USDA_MSRE_NO || '|' || "
                         "USDA_GM_WT, Fat, Protein, Carbohydrate, Calorie, Sodium, "
                         "Cholesterol, Other1, Other2 FROM FoodItem WHERE FoodId = %1"_s.arg(id))
            .value(0, QVariantList(9));
    };
    // Butter, salted, per 100 g; its first measure 1 cup = 227 g.
    const QVariantList butter = food(1001);
    EXPECT_EQ(butter[0], u"1 cup|1|227.0"_s);
    const double per100g[] = {81.11, 0.85, 0.06, 717, 714, 215, 0, 0.06};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(butter[1 + i].toDouble(), per100g[i] * 2.27, 1e-9) << "column " << 1 + i;
    // Evaporated milk: 1 fl oz = 31.5 g; the source gives no sugars.
    const QVariantList milk = food(1153);
    EXPECT_EQ(milk[0], u"1 fl oz|1|31.5"_s);
    EXPECT_NEAR(milk[1].toDouble(), 7.56 * 0.315, 1e-9);
    EXPECT_TRUE(milk[8].isNull());
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The file at the path may be the household's diet log: it is never replaced or changed.
TEST(DatabaseBuilder, LeavesAnExistingFileAndHalfBuiltFilesAlone) {
    QTemporaryDir dir;
    const QString data = dir.path() + u"/Data"_s;
    const QString path = data + u"/ForkData.mdb"_s;
    const QByteArray log = "not rebuilt: the diet log\0\1\2"_ba;
    QFile file(path);
    ASSERT_TRUE(QDir().mkpath(data) && file.open(QIODevice::WriteOnly) && file.write(log) > 0);
    file.close();
    QString error;
    EXPECT_FALSE(seed::buildDatabase(path, {}, &error));
    QProcess mkdb;
    mkdb.start(QStringLiteral(FORKWISE_MKDB), {path});
    ASSERT_TRUE(mkdb.waitForFinished(60000));
    EXPECT_EQ(mkdb.exitCode(), 0);
    EXPECT_TRUE(mkdb.readAllStandardOutput().contains("left untouched"));
    EXPECT_EQ(readFile(path), log);
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{u"ForkData.mdb"_s});

    // A build that fails, half-way or on an unknown food, leaves nothing behind.
    const QString other = dir.path() + u"/Other/ForkData.mdb"_s;
    EXPECT_FALSE(seed::buildDatabase(other, {seed::defaultSeedDir(), {99999}}, &error));
    QTemporaryDir broken;
    for (const QString& name : {u"usda"_s, u"schema.sql"_s})
        ASSERT_TRUE(QFile::link(seed::defaultSeedDir() + u'/' + name, broken.filePath(name)));
    QFile rows(broken.filePath(u"standing_rows.sql"_s));
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly) &&
                rows.write("INSERT INTO NoSuchTable VALUES (1);"));
    rows.close();
    EXPECT_FALSE(seed::buildDatabase(other, {broken.path(), {}}, &error));
    EXPECT_TRUE(error.contains(u"NoSuchTable"_s)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path() + u"/Other"_s).entryList(QDir::Files | QDir::Hidden), QStringList());
}

} // namespace
