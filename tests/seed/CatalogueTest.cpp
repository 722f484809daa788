// The delivered catalogue: forkwise-mkdb's whole database, checked against the USDA source.

#include "DatabaseBuilder.h"
#include "SqlProbe.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
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

TEST_F(DeliveredCatalogue, HoldsTheSpecialRowsWithCountersAtTheLargestKeys) {
    EXPECT_EQ(
        value(u"SELECT group_concat(GroupTag || ' ' || ParentGroup || ' ' || GroupName, ' | ') "
              "FROM (SELECT * FROM FoodGroup WHERE GroupTag <> 'GROUP' ORDER BY GroupId)"_s),
        u"GROUPROOT 0 USDA Foods | FAVORITE 0 Favorites"_s);
    EXPECT_EQ(value(u"SELECT group_concat(ConfigItem || '=' || ConfigValue || '/' || "
                    "SelectedConfig, ' ') FROM (SELECT * FROM CONFIG ORDER BY ConfigItem)"_s),
              u"OTHER1=Fiber/0 OTHER2=Sugars/0 USER1=User 1/1 USER2=User 2/0 USER3=User 3/0 "
              "USER4=User 4/0"_s);
    // 1 where the counter is at least the largest key, so new rows get new keys.
    EXPECT_EQ(value(u"SELECT group_concat(KeyName || '=' || CASE KeyName "
                    "WHEN 'FOODGROUP' THEN KeyValue >= (SELECT MAX(GroupId) FROM FoodGroup) "
                    "WHEN 'FOODITEM' THEN KeyValue >= (SELECT MAX(FoodId) FROM FoodItem) "
                    "ELSE KeyValue END, ' ') FROM (SELECT * FROM TableKey ORDER BY KeyName)"_s),
              u"DIETACTIVITY=0 FOODGROUP=1 FOODITEM=1"_s);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM DietActivity"_s), 0);
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

TEST_F(DeliveredCatalogue, ServesEveryFoodInOneOfItsMeasures) {
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodItem WHERE FoodId = USDA_NDB_NO"_s), 7907);
    // Measures are numbered 1, 2, ... with "100 g" last.
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM (SELECT NDB_NO, MAX(MSRE_NO) AS n, COUNT(*) AS c "
                    "FROM USDA_Measures GROUP BY NDB_NO) JOIN USDA_Measures m USING (NDB_NO) "
                    "WHERE m.MSRE_NO = n AND (n <> c OR m.MSRE_DESC <> '100 g' OR "
                    "m.GM_WT <> 100)"_s),
              0);

    const QList<QVariantList> rows =
        queryRows(path(), u"SELECT f.FoodId, f.ServingSize, m.MSRE_DESC, f.USDA_GM_WT, m.GM_WT "
                          "FROM FoodItem f LEFT JOIN USDA_Measures m "
                          "ON m.NDB_NO = f.USDA_NDB_NO AND m.MSRE_NO = f.USDA_MSRE_NO"_s);
    ASSERT_EQ(rows.size(), 7917);
    int ties = 0;
    for (const QVariantList& row : rows) {
        ASSERT_FALSE(row[2].isNull()) << "food " << row[0].toInt() << " has no such measure";
        EXPECT_EQ(row[1].toString(), row[2].toString()) << "food " << row[0].toInt();
        const double grams = row[4].toDouble();
        EXPECT_EQ(row[3].toLongLong(), qlonglong(std::nearbyint(grams)))
            << "food " << row[0].toInt();
        ties += grams - std::floor(grams) == 0.5;
    }
    EXPECT_GT(ties, 50); // the rounding of halves is really exercised
}

TEST_F(DeliveredCatalogue, ScalesTheSourceValuesToTheServing) {
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
    EXPECT_EQ(butter[0], u"1 cup|1|227"_s);
    const double per100g[] = {81.11, 0.85, 0.06, 717, 714, 215, 0, 0.06};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(butter[1 + i].toDouble(), per100g[i] * 2.27, 1e-9) << "column " << 1 + i;

    // Evaporated milk: 1 fl oz = 31.5 g is stored as 32 g; the source gives no sugars.
    const QVariantList milk = food(1153);
    EXPECT_EQ(milk[0], u"1 fl oz|1|32"_s);
    EXPECT_NEAR(milk[1].toDouble(), 7.56 * 0.315, 1e-9);
    EXPECT_TRUE(milk[8].isNull());

    // Butter, light, stick, without salt has no household measure: served as "100 g".
    const QVariantList light = food(4602);
    EXPECT_EQ(light[0], u"100 g|1|100"_s);
    EXPECT_DOUBLE_EQ(light[1].toDouble(), 55.1);

    // The source's measure texts and weights as they are.
    EXPECT_EQ(value(u"SELECT group_concat(MSRE_DESC || '=' || GM_WT, ' | ') FROM (SELECT * FROM "
                    "USDA_Measures WHERE (NDB_NO, MSRE_NO) IN (VALUES (1001, 3), (1153, 2)) "
                    "ORDER BY NDB_NO)"_s),
              u"1 pat (1\" sq, 1/3\" high)=5.0 | 0.5 cup=126.0"_s);
}

// Ten favourites, each a copy of its original under a number above the largest NDB number.
TEST_F(DeliveredCatalogue, StartsTheFavouritesAsEditableCopies) {
    EXPECT_EQ(
        value(u"SELECT COUNT(*) || ' ' || COUNT(o.FoodId) FROM FoodItem c LEFT JOIN FoodItem o "
              "ON o.FoodId = c.USDA_NDB_NO AND c.FoodId > 93600 AND c.FoodName = o.FoodName "
              "AND c.ServingSize = o.ServingSize AND c.Fat IS o.Fat "
              "AND c.Calorie IS o.Calorie AND c.USDA_MSRE_NO = o.USDA_MSRE_NO "
              "AND c.USDA_GM_WT = o.USDA_GM_WT WHERE c.GroupId = "
              "(SELECT GroupId FROM FoodGroup WHERE GroupTag = 'FAVORITE')"_s),
        u"10 10"_s);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
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
    ASSERT_TRUE(QDir().mkpath(data));
    const QByteArray log = "not rebuilt: the diet log\0\1\2"_ba;
    writeFile(path, log);

    QString error;
    EXPECT_FALSE(seed::buildDatabase(path, {}, &error));
    EXPECT_EQ(readFile(path), log);
    QProcess mkdb;
    mkdb.start(QStringLiteral(FORKWISE_MKDB), {path});
    ASSERT_TRUE(mkdb.waitForFinished(60000));
    EXPECT_EQ(mkdb.exitCode(), 0);
    EXPECT_TRUE(mkdb.readAllStandardOutput().contains("left untouched"));
    EXPECT_EQ(readFile(path), log);
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{u"ForkData.mdb"_s});

    // A build that fails, half-way or on an unknown food, leaves nothing behind.
    const QString other = dir.path() + u"/Other/ForkData.mdb"_s;
    seed::BuildOptions unknown;
    unknown.onlyFoods = {99999};
    EXPECT_FALSE(seed::buildDatabase(other, unknown, &error));
    QTemporaryDir broken;
    const QString seedDir = seed::defaultSeedDir();
    ASSERT_TRUE(QFile::link(seedDir + u"/usda"_s, broken.path() + u"/usda"_s));
    ASSERT_TRUE(QFile::link(seedDir + u"/schema.sql"_s, broken.path() + u"/schema.sql"_s));
    writeFile(broken.path() + u"/standing_rows.sql"_s, "INSERT INTO NoSuchTable VALUES (1);");
    seed::BuildOptions options;
    options.seedDir = broken.path();
    EXPECT_FALSE(seed::buildDatabase(other, options, &error));
    EXPECT_TRUE(error.contains(u"NoSuchTable"_s)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path() + u"/Other"_s).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The small databases the other suites start from: the chosen foods with their favourites.
TEST(TestDatabase, BuildsTheChosenFoodsWithTheirFavouritesInItsOwnFolder) {
    const TestDatabase db({1001, 4602});
    EXPECT_EQ(db.path(), db.programDir() + u"/Data/ForkData.mdb"_s);
    EXPECT_EQ(queryValue(db.path(), u"SELECT group_concat(FoodId || ':' || USDA_NDB_NO, ' ') || "
                                    "' counter ' || (SELECT KeyValue FROM TableKey WHERE KeyName = "
                                    "'FOODITEM') FROM (SELECT * FROM FoodItem ORDER BY FoodId)"_s),
              u"1001:1001 4602:4602 4603:1001 counter 4603"_s);
}

} // namespace
