#pragma once
// The system's SQLite file layer with writes that fail on demand, as on a full disk or a failing
// drive: while failing, every write, truncation and flush of every database and journal file
// reports an error.
namespace FailingVfs {
// Makes it the default file layer of the process (once; later calls do nothing).
void install();
// While on, writes fail as on a full disk, or with `diskFull` false as on a failing drive.
void failWrites(bool on, bool diskFull = true);
// The next flush fails: a change is written, and its commit is what fails; the rollback works.
void failNextSync();
} // namespace FailingVfs
