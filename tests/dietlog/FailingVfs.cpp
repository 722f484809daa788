#include "FailingVfs.h"

#include <atomic>
#include <sqlite3.h>

namespace {

sqlite3_vfs* systemVfs = nullptr;
sqlite3_vfs failing;
std::atomic<bool> on{false};
// The system layer's own methods, and the same with writes that fail while `on`. Version 1: no
// shared memory (the log uses a rollback journal) and no memory mapping.
const sqlite3_io_methods* real = nullptr;
sqlite3_io_methods methods;

int xWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at) {
    return on ? SQLITE_FULL : real->xWrite(f, buf, n, at);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return on ? SQLITE_IOERR_TRUNCATE : real->xTruncate(f, size);
}
int xSync(sqlite3_file* f, int flags) {
    return on ? SQLITE_IOERR_FSYNC : real->xSync(f, flags);
}

// The system layer opens the file in place; its methods are then swapped for the failing ones.
int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    const int rc = systemVfs->xOpen(systemVfs, name, f, flags, outFlags);
    if (rc != SQLITE_OK || !f->pMethods)
        return rc;
    if (!real) {
        real = f->pMethods;
        methods = *real;
        methods.iVersion = 1;
        methods.xWrite = xWrite;
        methods.xTruncate = xTruncate;
        methods.xSync = xSync;
    }
    if (f->pMethods != real) { // another kind of file: it could not be made to fail
        f->pMethods->xClose(f);
        f->pMethods = nullptr;
        return SQLITE_CANTOPEN;
    }
    f->pMethods = &methods;
    return SQLITE_OK;
}

} // namespace

void FailingVfs::install() {
    if (systemVfs)
        return;
    systemVfs = sqlite3_vfs_find(nullptr);
    failing = *systemVfs;
    failing.zName = "failing";
    failing.xOpen = xOpen;
    failing.pNext = nullptr;
    sqlite3_vfs_register(&failing, 1);
}

void FailingVfs::failWrites(bool fail) {
    on = fail;
}
