// The configuration items and the key counters.
#include "Config.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, ConfigurationItemsReadAndWriteThroughTheOpenSet) {
    EXPECT_EQ(GetConfigValue(QStringLiteral("OTHER1")), QStringLiteral("Fiber"));
    SetConfigValue(QStringLiteral("USER3"), QStringLiteral("Ann O'Neil"), true);
    SetConfigValue(QStringLiteral("NOSUCHITEM"), QStringLiteral("x"), true); // changes nothing
    // USER1 and USER3 are selected: the last in the table's order wins.
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER3"));

    // What was written is in the file: a fresh read of the table sees it.
    ds().cmdConfig();
    EXPECT_EQ(GetConfigValue(QStringLiteral("USER3")), QStringLiteral("Ann O'Neil"));
    EXPECT_EQ(GetConfigValue(QStringLiteral("NOSUCHITEM")), QString());
    EXPECT_EQ(ds().rscmdConfig->RecordCount(), 6);

    // None selected: the first user.
    SetConfigValue(QStringLiteral("USER1"), QStringLiteral("User 1"), false);
    SetConfigValue(QStringLiteral("USER3"), QStringLiteral("User 3"), false);
    EXPECT_EQ(LoadCurrentUser(), QStringLiteral("USER1"));
}

TEST_F(DataStoreTest, KeysAreConsecutiveStoredAtOnceAndAnUnknownCounterGivesZero) {
    const auto stored = [&] {
        ds().cmdTableKey();
        ds().rscmdTableKey->FindFirst(
            Criterion::equals(QStringLiteral("KeyName"), QStringLiteral("FOODITEM")));
        return long(ds().rscmdTableKey->Fields(QStringLiteral("KeyValue")).toLongLong());
    };
    const long before = stored();
    EXPECT_EQ(ds().getTableKey(QStringLiteral("FOODITEM")), before + 1);
    EXPECT_EQ(ds().getTableKey(QStringLiteral("fooditem")), before + 2);
    EXPECT_EQ(stored(), before + 2);

    // An unknown counter hands out nothing, bumps no other counter and closes the window.
    EXPECT_EQ(ds().getTableKey(QStringLiteral("NOSUCHKEY")), 0);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Unable to update Table Key Data.  ") + gSupportMsg);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(ds().getTableKey(QStringLiteral("FOODITEM")), before + 3);
}
