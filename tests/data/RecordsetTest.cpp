// Positioning, searching and writing through the result sets.
#include "DataStoreFixture.h"

const QString kName = u"FoodName"_s;

TEST_F(DataStoreTest, MovingStopsAtEitherEndAndAFailedSearchLeavesNoCurrentRow) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    EXPECT_EQ(rs.RecordCount(), 30);
    rs.MoveLast();
    const QVariant last = rs.Fields(u"FOODID"_s); // any letter case
    rs.MoveFirst();
    rs.Move(29);
    EXPECT_EQ(rs.Fields(u"FoodId"_s), last);
    EXPECT_THROW(rs.Fields(u"NoSuchColumn"_s), DbError);
    rs.Move(1);
    EXPECT_TRUE(rs.eof());
    EXPECT_THROW(rs.MoveNext(), DbError);
    rs.Move(-40);
    EXPECT_TRUE(rs.bof());

    ASSERT_TRUE(rs.FindFirst(Criterion::equals(u"FoodId"_s, 1001)));
    EXPECT_EQ(rs.Fields(kName).toString(), u"Butter, salted"_s);
    // Text compares without regard to case; an apostrophe is only a character.
    EXPECT_TRUE(rs.FindFirst(Criterion::equals(kName, u"BUTTER, SALTED"_s)));
    EXPECT_FALSE(rs.FindFirst(Criterion::equals(kName, u"Mom's pie"_s)));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_THROW(rs.Fields(kName), DbError);
    ASSERT_TRUE(rs.FindFirst(Criterion::like(kName, u"*'*"_s)));
    EXPECT_TRUE(rs.Fields(kName).toString().contains(u'\''));
    EXPECT_FALSE(rs.FindFirst(Criterion::like(kName, u"%"_s))); // no wildcard

    // Each match in turn (a favourite first: its group comes first), then back by the bookmark.
    const Criterion butter = Criterion::like(kName, u"*butter*"_s);
    ASSERT_TRUE(rs.FindFirst(butter));
    const Bookmark first = rs.bookmark();
    QStringList found{rs.Fields(u"FoodId"_s).toString()};
    while (rs.findNextRow(butter))
        found << rs.Fields(u"FoodId"_s).toString();
    EXPECT_EQ(found.join(u'|'), u"20051|1001|4602"_s);
    // The matches a search keeps are read again once the file changed.
    ds().appDB.execute(u"UPDATE FoodItem SET FoodName = 'Egg butter' WHERE FoodId = 1123"_s);
    ASSERT_TRUE(rs.FindFirst(butter));
    ASSERT_TRUE(rs.findNextRow(butter));
    ASSERT_TRUE(rs.findNextRow(butter));
    EXPECT_EQ(rs.Fields(u"FoodId"_s), 1123);
    rs.setBookmark(first);
    EXPECT_EQ(rs.Fields(u"FoodId"_s), 20051);
}

TEST_F(DataStoreTest, ADynasetWritesThroughAtOnceAndASnapshotIsReadOnly) {
    addDiet(u1, day(5), u"Mom's pie"_s);
    ds().cmdDietData(u1);
    Recordset& rs = *ds().rscmdDietData;
    rs.MoveFirst();
    rs.AddNew();
    rs.setField(u"UserName"_s, u1);
    rs.setField(u"DietDate"_s, day(1));
    rs.setField(kName, u"Apple"_s);
    rs.Update();
    EXPECT_EQ(rs.Fields(kName).toString(), u"Mom's pie"_s); // still where it was
    EXPECT_EQ(rs.RecordCount(), 2); // the set's rows were read before the new one joined them
    rs.setBookmark(rs.LastModified());
    EXPECT_EQ(rs.Fields(u"DietDate"_s).toDate(), day(1));
    EXPECT_TRUE(rs.Fields(u"Protein"_s).isNull());

    // A snapshot taken now sees the edit; CancelUpdate leaves the table alone.
    rs.Edit();
    rs.setField(u"NumServings"_s, 2.5);
    rs.Update();
    rs.Edit();
    rs.setField(u"NumServings"_s, 9.0);
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields(u"NumServings"_s), 2.5);
    ds().cmdDietItems(day(1), u1);
    ASSERT_EQ(ds().rscmdDietItems->RecordCount(), 1);
    EXPECT_EQ(ds().rscmdDietItems->Fields(u"NumServings"_s), 2.5);
    EXPECT_THROW(ds().rscmdDietItems->Edit(), DbError);

    // Delete removes the row; the next move lands on the row that followed, the one added last.
    rs.MoveFirst();
    rs.Delete();
    EXPECT_FALSE(rs.hasCurrentRow());
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(kName).toString(), u"Apple"_s);
    ds().cmdDietDates(u1);
    EXPECT_EQ(ds().rscmdDietDates->RecordCount(), 1);
}

TEST(LikePatternTest, WildcardsSetsAndTheirEscapesWithCaseFoldedInEveryScript) {
    const auto like = [](const QString& pattern, const QString& text) {
        return LikePattern(u'*' + pattern + u'*').matches(text);
    };
    EXPECT_TRUE(like(u"APPLE"_s, u"Pineapple"_s));
    EXPECT_TRUE(like(u"CRÈME"_s, u"Crème brûlée"_s));
    EXPECT_TRUE(like(u"ÉCLAIR"_s, u"éclair"_s));
    EXPECT_TRUE(like(u"a?c"_s, u"xAbCx"_s));
    EXPECT_TRUE(like(u"🍎?"_s, u"🍎🍏"_s)); // one character, not one UTF-16 unit
    EXPECT_TRUE(like(u"# %"_s, u"Milk, 2 %"_s));
    EXPECT_FALSE(like(u"# %"_s, u"Milk, x %"_s));
    EXPECT_TRUE(like(u"b[aeiou]t"_s, u"butter"_s));
    EXPECT_FALSE(like(u"b[!aeiou]t"_s, u"butter"_s));
    EXPECT_TRUE(like(u"[m-p]ilk"_s, u"MILK"_s));
    // Bracketed pattern characters stand for themselves.
    EXPECT_TRUE(like(u"[*]"_s, u"a*b"_s));
    EXPECT_FALSE(like(u"[*]"_s, u"ab"_s));
    EXPECT_TRUE(like(u"[?][#][[]"_s, u"?#["_s));
    EXPECT_FALSE(like(u"[#]"_s, u"5"_s));
    // What is no pattern is taken literally.
    EXPECT_TRUE(like(u"[unclosed"_s, u"a [unclosed b"_s));
    EXPECT_FALSE(like(u"[unclosed"_s, u"unclosed"_s));
    EXPECT_TRUE(like(u"[]"_s, u"x[]"_s));
    EXPECT_TRUE(like(u"[z-a]"_s, u"[z-a]"_s));
    EXPECT_TRUE(like(u"Mom's (\\.+^$|){}"_s, u"Mom's (\\.+^$|){} pie"_s));
    EXPECT_TRUE(like(u""_s, u""_s));
    EXPECT_TRUE(like(QChar(0) + u"7"_s, u"a"_s + QChar(0) + u"7"_s)); // not an octal escape
}
