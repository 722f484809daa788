// The configuration items and the key counters.
#include "Config.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, ConfigurationItemsReadAndWriteThroughTheOpenSet) {
    EXPECT_EQ(GetConfigValue(QStringLiteral("OTHER1")), QStringLiteral("Fiber"));
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER1"));
    SetConfigValue(QStringLiteral("USER3"), QStringLiteral("Ann O'Neil"), true);
    SetConfigValue(QStringLiteral("USER1"), QStringLiteral("User 1"), false);
    SetConfigValue(QStringLiteral("NOSUCHITEM"), QStringLiteral("x"), true); // changes nothing
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER3"));

    // What was written is in the file: a fresh read of the table sees it.
    ds().cmdConfig();
    EXPECT_EQ(GetConfigValue(QStringLiteral("USER3")), QStringLiteral("Ann O'Neil"));
    EXPECT_EQ(GetConfigValue(QStringLiteral("NOSUCHITEM")), QString());
    EXPECT_EQ(ds().rscmdConfig->RecordCount(), 6);

    // Several selected: the last in the table's order wins; none selected: the first user.
    SetConfigValue(QStringLiteral("USER4"), QStringLiteral("User 4"), true);
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER4"));
    for (const char* u : {"USER3", "USER4"})
        SetConfigValue(QString::fromLatin1(u), GetConfigValue(QString::fromLatin1(u)), false);
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER1"));

    // A failed write is reported and the program goes on.
    ds().closeDB();
    SetConfigValue(QStringLiteral("USER1"), QStringLiteral("x"), true);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to update the Configuration Data.  ") + gSupportMsg);
    EXPECT_EQ(unloads, 0);
}

TEST_F(DataStoreTest, KeysAreConsecutiveStoredAtOnceAndAFailureReturnsZero) {
    const auto stored = [&](const char* name) {
        ds().cmdTableKey();
        ds().rscmdTableKey->FindFirst(
            Criterion::equals(QStringLiteral("KeyName"), QString::fromLatin1(name)));
        return long(ds().rscmdTableKey->Fields(QStringLiteral("KeyValue")).toLongLong());
    };
    const long before = stored("FOODITEM");
    const long a = ds().getTableKey(QStringLiteral("FOODITEM"));
    const long b = ds().getTableKey(QStringLiteral("fooditem"));
    EXPECT_EQ(a, before + 1);
    EXPECT_EQ(b, a + 1);
    const long diet = ds().getTableKey(QStringLiteral("DIETACTIVITY"));
    EXPECT_EQ(stored("FOODITEM"), b);
    EXPECT_EQ(stored("DIETACTIVITY"), diet);
    EXPECT_TRUE(boxes.boxes().empty());

    // An unknown counter hands out nothing and bumps no other counter.
    EXPECT_EQ(ds().getTableKey(QStringLiteral("NOSUCHKEY")), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to update Table Key Data.  ") + gSupportMsg);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(ds().getTableKey(QStringLiteral("FOODITEM")), b + 1);
}
