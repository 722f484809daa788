// The configuration items and the key counters.
#include "Config.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, ConfigurationItemsReadAndWriteThroughTheOpenSet) {
    EXPECT_EQ(GetConfigValue(u"OTHER1"_s), u"Fiber"_s);
    SetConfigValue(u"USER3"_s, u"Ann O'Neil"_s, true);
    SetConfigValue(u"NOSUCHITEM"_s, u"x"_s, true); // changes nothing
    // USER1 and USER3 are selected: the last in the table's order wins.
    EXPECT_EQ(LoadCurrentUser(), u"USER3"_s);

    // What was written is in the file.
    EXPECT_EQ(value(u"SELECT ConfigValue || '|' || SelectedConfig FROM CONFIG WHERE "
                    "ConfigItem = 'USER3'"_s),
              u"Ann O'Neil|1"_s);
    EXPECT_EQ(value(u"SELECT count(*) FROM CONFIG WHERE ConfigItem = 'NOSUCHITEM'"_s), 0);

    // None selected: the first user.
    SetConfigValue(u"USER1"_s, u"User 1"_s, false);
    SetConfigValue(u"USER3"_s, u"User 3"_s, false);
    EXPECT_EQ(LoadCurrentUser(), u"USER1"_s);
}

TEST_F(DataStoreTest, KeysAreConsecutiveStoredAtOnceAndAnUnknownCounterFails) {
    const auto stored = [&] {
        return long(
            value(u"SELECT KeyValue FROM TableKey WHERE KeyName = 'FOODITEM'"_s).toLongLong());
    };
    const long before = stored();
    EXPECT_EQ(ds().getTableKey(u"FOODITEM"_s), before + 1);
    EXPECT_EQ(ds().getTableKey(u"fooditem"_s), before + 2);
    EXPECT_EQ(stored(), before + 2);

    // An unknown counter hands out nothing, bumps no other counter and ends the run.
    EXPECT_THROW(ds().getTableKey(u"NOSUCHKEY"_s), CommandFailed);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, u"Unable to update Table Key Data.  "_s + gSupportMsg);
    EXPECT_EQ(stored(), before + 2);
}
