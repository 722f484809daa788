#pragma once
// The layout of ForkData.mdb this program reads and writes, kept in the file's user_version.
// 0 is a file made before the layout had a version: its gram weights are rounded to whole grams.
// Every later change of the layout counts up from 1, changes seed/schema.sql, and in the same
// commit adds the text of the layout it replaces to kLayouts in SchemaLayout.cpp, so copies of
// the older version are still compared with their own layout when they are restored.
inline constexpr int kSchemaVersion = 1;
