// Positioning, searching and writing through the result sets.
#include "DataStoreFixture.h"

const QString kName = QStringLiteral("FoodName");

TEST_F(DataStoreTest, MovingStopsAtEitherEndAndAFailedSearchLeavesNoCurrentRow) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    EXPECT_EQ(rs.RecordCount(), 30);
    rs.MoveLast();
    const QVariant last = rs.Fields(QStringLiteral("FOODID")); // any letter case
    rs.MoveFirst();
    rs.Move(29);
    EXPECT_EQ(rs.Fields(QStringLiteral("FoodId")), last);
    EXPECT_THROW(rs.Fields(QStringLiteral("NoSuchColumn")), DbError);
    rs.Move(1);
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.MoveNext(), DbError);
    rs.Move(-40);
    EXPECT_TRUE(rs.bof());

    ASSERT_TRUE(rs.FindFirst(Criterion::equals(QStringLiteral("FoodId"), 1001)));
    EXPECT_EQ(rs.Fields(kName).toString(), QStringLiteral("Butter, salted"));
    // Text compares without regard to case; an apostrophe is only a character.
    EXPECT_TRUE(rs.FindFirst(Criterion::equals(kName, QStringLiteral("BUTTER, SALTED"))));
    EXPECT_FALSE(rs.FindFirst(Criterion::equals(kName, QStringLiteral("Mom's pie"))));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_THROW(rs.Fields(kName), DbError);
    ASSERT_TRUE(rs.FindFirst(Criterion::like(kName, QStringLiteral("*'*"))));
    EXPECT_TRUE(rs.Fields(kName).toString().contains(u'\''));
    EXPECT_FALSE(rs.FindFirst(Criterion::like(kName, QStringLiteral("%")))); // no wildcard

    // Each match in turn (a favourite first: its group comes first), then back by the bookmark.
    const Criterion butter = Criterion::like(kName, QStringLiteral("*butter*"));
    ASSERT_TRUE(rs.FindFirst(butter));
    const Bookmark first = rs.bookmark();
    QStringList found{rs.Fields(QStringLiteral("FoodId")).toString()};
    while (rs.FindNext(butter))
        found << rs.Fields(QStringLiteral("FoodId")).toString();
    EXPECT_EQ(found.join(u'|'), QStringLiteral("20051|1001|4602"));
    rs.setBookmark(first);
    EXPECT_EQ(rs.Fields(QStringLiteral("FoodId")), 20051);
}

TEST_F(DataStoreTest, ADynasetWritesThroughAtOnceAndASnapshotIsReadOnly) {
    const QString u1 = QStringLiteral("USER1");
    addDiet(u1, day(5), QStringLiteral("Mom's pie"));
    ds().cmdDietData(u1);
    Recordset& rs = *ds().rscmdDietData;
    rs.MoveFirst();
    rs.AddNew();
    rs.setField(QStringLiteral("UserName"), u1);
    rs.setField(QStringLiteral("DietDate"), day(1));
    rs.setField(kName, QStringLiteral("Apple"));
    EXPECT_EQ(rs.Fields(kName).toString(), QStringLiteral("Apple")); // the buffer
    rs.Update();
    EXPECT_EQ(rs.Fields(kName).toString(), QStringLiteral("Mom's pie")); // still where it was
    rs.setBookmark(rs.LastModified());
    EXPECT_EQ(rs.Fields(QStringLiteral("DietDate")).toDate(), day(1));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Protein")).isNull());

    // A snapshot taken now sees the edit; CancelUpdate leaves the table alone.
    rs.Edit();
    rs.setField(QStringLiteral("NumServings"), 2.5);
    rs.Update();
    rs.Edit();
    rs.setField(QStringLiteral("NumServings"), 9.0);
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields(QStringLiteral("NumServings")), 2.5);
    ds().cmdDietItems(day(1), u1);
    ASSERT_EQ(ds().rscmdDietItems->RecordCount(), 1);
    EXPECT_EQ(ds().rscmdDietItems->Fields(QStringLiteral("NumServings")), 2.5);
    EXPECT_THROW(ds().rscmdDietItems->Edit(), DbError);

    // Delete removes the row; the next move lands on the row that followed, the one added last.
    rs.MoveFirst();
    rs.Delete();
    EXPECT_FALSE(rs.hasCurrentRow());
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(kName).toString(), QStringLiteral("Apple"));
    ds().cmdDietDates(u1);
    EXPECT_EQ(ds().rscmdDietDates->RecordCount(), 1);
}
