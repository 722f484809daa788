#pragma once
// The layout of ForkData.mdb this program reads and writes, kept in the file's user_version.
// 0 is a file made before the layout had a version: its gram weights are rounded to whole grams.
// Every later change of the layout counts up from 1.
inline constexpr int kSchemaVersion = 1;
