// The delivered catalogue: forkwise-mkdb's whole database, checked against the USDA source.

#include "DatabaseBuilder.h"
#include "SqlProbe.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodGroup WHERE GroupTag = 'GROUPROOT' "
                    "AND ParentGroup = 0"_s),
              1);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodGroup WHERE GroupTag = 'FAVORITE'"_s), 1);
    EXPECT_EQ(value(u"SELECT group_concat(ConfigItem || '=' || ConfigValue || '/' || "
                    "SelectedConfig, ' ') FROM (SELECT * FROM CONFIG ORDER BY ConfigItem)"_s),
              u"OTHER1=Fiber/0 OTHER2=Sugars/0 USER1=User 1/1 USER2=User 2/0 USER3=User 3/0 "
              "USER4=User 4/0"_s);

    EXPECT_EQ(value(u"SELECT COUNT(*) FROM TableKey"_s), 3);
    EXPECT_GE(value(u"SELECT KeyValue FROM TableKey WHERE KeyName = 'FOODGROUP'"_s).toLongLong(),
              value(u"SELECT MAX(GroupId) FROM FoodGroup"_s).toLongLong());
    EXPECT_GE(value(u"SELECT KeyValue FROM TableKey WHERE KeyName = 'FOODITEM'"_s).toLongLong(),
              value(u"SELECT MAX(FoodId) FROM FoodItem"_s).toLongLong());
    EXPECT_EQ(value(u"SELECT KeyValue FROM TableKey WHERE KeyName = 'DIETACTIVITY'"_s), 0);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM DietActivity"_s), 0);
}

TEST_F(DeliveredCatalogue, PlacesEveryFoodInItsUsdaGroupBelowTheRoot) {
    const QString usdaGroups = u"FROM FoodGroup WHERE GroupTag = 'GROUP' AND ParentGroup = "
                               "(SELECT GroupId FROM FoodGroup WHERE GroupTag = 'GROUPROOT')"_s;
    EXPECT_EQ(value(u"SELECT COUNT(*) "_s + usdaGroups), 25);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodGroup"_s), 27);
    for (const QString& name : {u"Dairy and Egg Products"_s, u"Soups, Sauces, and Gravies"_s,
                                u"American Indian/Alaska Native Foods"_s, u"Restaurant Foods"_s})
        EXPECT_EQ(
            value(u"SELECT COUNT(*) "_s + usdaGroups + u" AND GroupName = '"_s + name + u"'"_s), 1)
            << qPrintable(name);
    EXPECT_EQ(value(u"SELECT COUNT(*) "_s + usdaGroups +
                    u" AND GroupId NOT IN (SELECT GroupId FROM FoodItem)"_s),
              0);

    // Original foods sit in the USDA groups only; nothing refers to a missing group.
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodItem WHERE FoodId = USDA_NDB_NO AND GroupId NOT IN "
                    "(SELECT GroupId "_s +
                    usdaGroups + u")"_s),
              0);
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodItem WHERE GroupId NOT IN "
                    "(SELECT GroupId FROM FoodGroup)"_s),
              0);
    // Listed by USDA, numbered into another group, placed by hand.
    const auto groupOf = [](int ndb) {
        return value(u"SELECT GroupName FROM FoodGroup JOIN FoodItem USING (GroupId) "
                     "WHERE FoodId = %1"_s.arg(ndb));
    };
    EXPECT_EQ(groupOf(1001), u"Dairy and Egg Products"_s);
    EXPECT_EQ(groupOf(23999), u"Beef Products"_s);
    EXPECT_EQ(groupOf(42130), u"Sausages and Luncheon Meats"_s);
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
    const auto food = [](int id) {
        return queryRows(path(), u"SELECT ServingSize, USDA_MSRE_NO, USDA_GM_WT, Fat, Protein, "
                                 "Carbohydrate, Calorie, Sodium, Cholesterol, Other1, Other2 "
                                 "FROM FoodItem WHERE FoodId = %1"_s.arg(id))
            .value(0);
    };
    // Butter, salted: per 100 g fat 81.11, protein 0.85, carbs 0.06, 717 kcal, sodium 714,
    // cholesterol 215, fiber 0, sugars 0.06; first measure 1 cup = 227 g.
    const QVariantList butter = food(1001);
    ASSERT_EQ(butter.size(), 11);
    EXPECT_EQ(butter[0], u"1 cup"_s);
    EXPECT_EQ(butter[1], 1);
    EXPECT_EQ(butter[2], 227);
    const double expected[] = {81.11, 0.85, 0.06, 717, 714, 215, 0, 0.06};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(butter[3 + i].toDouble(), expected[i] * 2.27, 1e-9) << "column " << 3 + i;
    EXPECT_EQ(value(u"SELECT MSRE_DESC || '|' || GM_WT FROM USDA_Measures WHERE NDB_NO = 1001 "
                    "AND MSRE_NO = 3"_s),
              u"1 pat (1\" sq, 1/3\" high)|5.0"_s);

    // Evaporated milk: 1 fl oz = 31.5 g is stored as 32 g; the source gives no sugars.
    const QVariantList milk = food(1153);
    ASSERT_EQ(milk.size(), 11);
    EXPECT_EQ(milk[0], u"1 fl oz"_s);
    EXPECT_EQ(milk[2], 32);
    EXPECT_NEAR(milk[3].toDouble(), 7.56 * 0.315, 1e-9);
    EXPECT_NEAR(milk[6].toDouble(), 134 * 0.315, 1e-9);
    EXPECT_TRUE(milk[10].isNull());
    EXPECT_EQ(value(u"SELECT MSRE_DESC FROM USDA_Measures WHERE NDB_NO = 1153 AND MSRE_NO = 2"_s),
              u"0.5 cup"_s);

    // Butter, light, stick, without salt has no household measure: served as "100 g".
    const QVariantList light = food(4602);
    ASSERT_EQ(light.size(), 11);
    EXPECT_EQ(light[0], u"100 g"_s);
    EXPECT_EQ(light[1], 1);
    EXPECT_EQ(light[2], 100);
    EXPECT_DOUBLE_EQ(light[3].toDouble(), 55.1);
    EXPECT_DOUBLE_EQ(light[6].toDouble(), 499);
}

TEST_F(DeliveredCatalogue, StartsTheFavouritesAsEditableCopies) {
    const QList<QVariantList> copies = queryRows(
        path(), u"SELECT c.FoodId, c.USDA_NDB_NO FROM FoodItem c JOIN FoodItem o "
                "ON o.FoodId = c.USDA_NDB_NO WHERE c.GroupId = (SELECT GroupId FROM FoodGroup "
                "WHERE GroupTag = 'FAVORITE') AND c.FoodName = o.FoodName "
                "AND c.ServingSize = o.ServingSize AND c.Fat IS o.Fat AND c.Calorie IS o.Calorie "
                "AND c.USDA_MSRE_NO = o.USDA_MSRE_NO AND c.USDA_GM_WT = o.USDA_GM_WT"_s);
    ASSERT_EQ(copies.size(), 10);
    for (const QVariantList& copy : copies)
        EXPECT_GT(copy[0].toLongLong(), 93600); // above the largest NDB number
    EXPECT_EQ(value(u"SELECT COUNT(*) FROM FoodItem WHERE GroupId = (SELECT GroupId FROM "
                    "FoodGroup WHERE GroupTag = 'FAVORITE')"_s),
              10);
}

// The file at the path may be the household's diet log: it is never replaced or changed.
TEST(DatabaseBuilder, LeavesAnExistingFileAndHalfBuiltFilesAlone) {
    QTemporaryDir dir;
    const QString data = dir.path() + u"/Data"_s;
    const QString path = data + u"/ForkData.mdb"_s;
    ASSERT_TRUE(QDir().mkpath(data));
    const QByteArray log = "not rebuilt: the diet log\0\1\2"_ba;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(log);
    file.close();

    QString error;
    EXPECT_FALSE(seed::buildDatabase(path, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), log);
    file.close();

    QProcess mkdb;
    mkdb.start(QStringLiteral(FORKWISE_MKDB), {path});
    ASSERT_TRUE(mkdb.waitForFinished(60000));
    EXPECT_EQ(mkdb.exitCode(), 0);
    EXPECT_TRUE(mkdb.readAllStandardOutput().contains("left untouched"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), log);
    file.close();
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{u"ForkData.mdb"_s});

    // A build that fails half-way leaves nothing behind.
    QTemporaryDir brokenSeed;
    ASSERT_TRUE(QDir().mkpath(brokenSeed.path() + u"/usda"_s));
    const QString seedDir = seed::defaultSeedDir();
    for (const QString& name : QDir(seedDir + u"/usda"_s).entryList(QDir::Files))
        ASSERT_TRUE(
            QFile::copy(seedDir + u"/usda/"_s + name, brokenSeed.path() + u"/usda/"_s + name));
    ASSERT_TRUE(QFile::copy(seedDir + u"/schema.sql"_s, brokenSeed.path() + u"/schema.sql"_s));
    QFile rows(brokenSeed.path() + u"/standing_rows.sql"_s);
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly));
    rows.write("INSERT INTO NoSuchTable VALUES (1);");
    rows.close();
    const QString fresh = dir.path() + u"/Other/ForkData.mdb"_s;
    seed::BuildOptions options;
    options.seedDir = brokenSeed.path();
    EXPECT_FALSE(seed::buildDatabase(fresh, options, &error));
    EXPECT_TRUE(error.contains(u"NoSuchTable"_s)) << qPrintable(error);
    EXPECT_EQ(QDir(dir.path() + u"/Other"_s).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The small databases the other suites start from.
TEST(TestDatabase, BuildsTheChosenFoodsWithTheirFavouritesInItsOwnFolder) {
    const TestDatabase db;
    EXPECT_EQ(db.path(), db.programDir() + u"/Data/ForkData.mdb"_s);
    EXPECT_TRUE(QFileInfo(db.path()).isFile());
    EXPECT_EQ(queryValue(db.path(), u"SELECT COUNT(*) FROM FoodItem WHERE FoodId = USDA_NDB_NO"_s),
              20);
    EXPECT_EQ(queryValue(db.path(), u"SELECT COUNT(*) FROM FoodItem"_s), 30);
    EXPECT_EQ(queryValue(db.path(), u"SELECT COUNT(DISTINCT GroupId) FROM FoodItem"_s), 14);
    EXPECT_EQ(queryValue(db.path(), u"SELECT KeyValue FROM TableKey WHERE KeyName = 'FOODITEM'"_s),
              queryValue(db.path(), u"SELECT MAX(FoodId) FROM FoodItem"_s));

    const TestDatabase butter({1001, 4602});
    EXPECT_EQ(queryValue(butter.path(), u"SELECT group_concat(FoodId || ':' || USDA_NDB_NO, ' ') "
                                        "FROM (SELECT * FROM FoodItem ORDER BY FoodId)"_s),
              u"1001:1001 4602:4602 4603:1001"_s);

    QString error;
    seed::BuildOptions unknown;
    unknown.onlyFoods = {99999};
    EXPECT_FALSE(seed::buildDatabase(db.programDir() + u"/Other.mdb"_s, unknown, &error));
    EXPECT_FALSE(QFileInfo::exists(db.programDir() + u"/Other.mdb"_s));
}

} // namespace
