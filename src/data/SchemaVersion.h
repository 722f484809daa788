#pragma once
// The layout of ForkData.mdb this program reads and writes, kept in the file's user_version.
// 0 is a file made before the layout had a version: its gram weights are rounded to whole grams.
// 1 has exact gram weights; 2 adds DietDay, the days of each user's log.
// Every later change of the layout counts up, changes seed/schema.sql, brings older files up to
// date in Database::upgrade, and in the same commit adds to kLayouts in SchemaLayout.cpp the
// statements that take the new layout back to the one it replaces, so copies of an older
// version are still compared with their own layout when they are restored.
inline constexpr int kSchemaVersion = 2;
