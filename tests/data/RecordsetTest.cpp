// Positioning, searching and writing through the result sets.
#include "DataStoreFixture.h"

namespace {
const QString kFoodName = QStringLiteral("FoodName");
QDate day(int d) {
    return QDate(2026, 12, d);
}
} // namespace

TEST_F(DataStoreTest, PositioningWalksRowsInQueryOrderAndMovesFromTheFirstRow) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_GT(rs.RecordCount(), 10);
    std::vector<QString> names;
    long lastGroup = -1;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        const long g = rs.Fields(QStringLiteral("GROUPID")).toLongLong(); // any letter case
        EXPECT_LE(lastGroup, g);
        lastGroup = g;
        names.push_back(rs.Fields(kFoodName).toString());
    }
    EXPECT_EQ(long(names.size()), rs.RecordCount());
    EXPECT_THROW(rs.MoveNext(), DbError); // past EOF
    EXPECT_THROW(rs.Fields(kFoodName), DbError);

    rs.MoveFirst();
    rs.Move(3);
    EXPECT_EQ(rs.Fields(kFoodName).toString(), names[3]);
    rs.Move(-10);
    EXPECT_TRUE(rs.bof());
    rs.MoveFirst();
    rs.Move(rs.RecordCount());
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.Fields(QStringLiteral("NoSuchColumn")), DbError);
}

TEST_F(DataStoreTest, FindFirstMatchesByValueAndAFailedSearchLeavesNoCurrentRow) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(QStringLiteral("FoodId"), 1001)));
    EXPECT_EQ(rs.Fields(kFoodName).toString(), QStringLiteral("Butter, salted"));
    // Text compares without regard to case; an apostrophe is only a character.
    EXPECT_TRUE(rs.FindFirst(Criterion::equals(kFoodName, QStringLiteral("BUTTER, SALTED"))));
    EXPECT_FALSE(rs.FindFirst(Criterion::equals(kFoodName, QStringLiteral("Mom's pie"))));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_FALSE(rs.hasCurrentRow());
    EXPECT_THROW(rs.Fields(kFoodName), DbError);

    // like with * wildcards finds each match in turn; % is no wildcard.
    const Criterion butter = Criterion::like(kFoodName, QStringLiteral("*butter*"));
    ASSERT_TRUE(rs.FindFirst(butter));
    const Bookmark first = rs.bookmark();
    int found = 1;
    for (; rs.FindNext(butter); ++found)
        EXPECT_TRUE(rs.Fields(kFoodName).toString().contains(u"butter", Qt::CaseInsensitive));
    const auto count = Recordset::openSnapshot(
        ds().appDB,
        QStringLiteral("SELECT count(*) AS n FROM FoodItem WHERE FoodName LIKE '%butter%'"));
    EXPECT_EQ(found, count->Fields(QStringLiteral("n")).toInt());
    EXPECT_GE(found, 3); // two butters and a favourite's copy
    rs.setBookmark(first);
    EXPECT_TRUE(rs.Fields(kFoodName).toString().contains(QStringLiteral("utter")));
    ASSERT_TRUE(rs.FindFirst(Criterion::like(kFoodName, QStringLiteral("*'*"))));
    EXPECT_TRUE(rs.Fields(kFoodName).toString().contains(u'\''));
    EXPECT_FALSE(rs.FindFirst(Criterion::like(kFoodName, QStringLiteral("%"))));
}

TEST_F(DataStoreTest, ChangesAreWrittenThroughAtOnceAndNewRowsJoinTheEnd) {
    const long a = addDiet(QStringLiteral("USER1"), day(5), QStringLiteral("Mom's pie"));
    ds().cmdDietData(QStringLiteral("USER1"));
    Recordset& rs = *ds().rscmdDietData;
    rs.MoveFirst();
    rs.AddNew();
    rs.setField(QStringLiteral("UserName"), QStringLiteral("USER1"));
    rs.setField(QStringLiteral("DietDate"), day(1));
    rs.setField(kFoodName, QStringLiteral("Apple"));
    EXPECT_EQ(rs.Fields(kFoodName).toString(), QStringLiteral("Apple")); // the buffer
    rs.Update();
    EXPECT_EQ(rs.Fields(kFoodName).toString(), QStringLiteral("Mom's pie")); // still where it was
    rs.setBookmark(rs.LastModified());
    EXPECT_EQ(rs.Fields(QStringLiteral("DietDate")).toDate(), day(1));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Protein")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")), 0.0); // the table's default

    // A snapshot taken now sees the edit; CancelUpdate leaves the table alone.
    rs.Edit();
    rs.setField(QStringLiteral("NumServings"), 2.5);
    rs.Update();
    rs.Edit();
    rs.setField(QStringLiteral("NumServings"), 9.0);
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields(QStringLiteral("NumServings")), 2.5);
    ds().cmdDietItems(day(1), QStringLiteral("USER1"));
    ASSERT_EQ(ds().rscmdDietItems->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(ds().rscmdDietItems->Fields(QStringLiteral("NumServings")).toDouble(), 2.5);

    // Delete removes the row; the next move lands on the row that followed.
    rs.MoveFirst();
    ASSERT_EQ(rs.bookmark(), a);
    rs.Delete();
    EXPECT_FALSE(rs.hasCurrentRow());
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(kFoodName).toString(), QStringLiteral("Apple"));
    ds().cmdDietDates(QStringLiteral("USER1"));
    EXPECT_EQ(ds().rscmdDietDates->RecordCount(), 1);

    // Snapshots are read-only.
    EXPECT_THROW(ds().rscmdDietItems->Edit(), DbError);
    EXPECT_THROW(ds().rscmdDietItems->AddNew(), DbError);
}
