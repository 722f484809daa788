#pragma once
// The system's SQLite file layer with writes that fail on demand, as on a full disk or a failing
// drive: while failing, every write, truncation and flush of every database and journal file
// reports an error.
#include <string>

namespace FailingVfs {
// Makes it the default file layer of the process (once; later calls do nothing).
void install();
// While on, writes fail as on a full disk, or with `diskFull` false as on a failing drive; to
// every file, or with `onlyUnder` only to files whose path begins with it (the log and its
// journal, say, but not a copy being written in Backups).
void failWrites(bool on, bool diskFull = true, const std::string& onlyUnder = {});
// The next flush fails: a change is written, and its commit is what fails; the rollback works.
void failNextSync();
} // namespace FailingVfs
