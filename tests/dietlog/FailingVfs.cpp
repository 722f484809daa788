#include "FailingVfs.h"

#include <atomic>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

sqlite3_vfs* systemVfs = nullptr;
sqlite3_vfs failing;
std::atomic<bool> on{false};
std::atomic<int> writeFault{SQLITE_FULL};
std::string onlyUnder; // changed only while no write runs
std::atomic<int> syncsToFail{0};

struct File {
    sqlite3_file base;
    sqlite3_file* real;
    const char* name; // valid until xClose; null for a temporary file
};

sqlite3_file* real(sqlite3_file* f) {
    return reinterpret_cast<File*>(f)->real;
}

bool failsNow(sqlite3_file* f) {
    const char* name = reinterpret_cast<File*>(f)->name;
    return on && (onlyUnder.empty() ||
                  (name && std::strncmp(name, onlyUnder.c_str(), onlyUnder.size()) == 0));
}

int xClose(sqlite3_file* f) {
    const int rc = real(f)->pMethods->xClose(real(f));
    sqlite3_free(real(f));
    return rc;
}
int xRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 at) {
    return real(f)->pMethods->xRead(real(f), buf, n, at);
}
int xWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at) {
    return failsNow(f) ? writeFault.load() : real(f)->pMethods->xWrite(real(f), buf, n, at);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return failsNow(f) ? SQLITE_IOERR_TRUNCATE : real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags) {
    if (failsNow(f) || syncsToFail.fetch_sub(1) > 0)
        return SQLITE_IOERR_FSYNC;
    syncsToFail = 0;
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xLock(real(f), level);
}
int xUnlock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}

// Version 1: no shared memory (the log uses a rollback journal) and no memory mapping.
const sqlite3_io_methods methods = {1,
                                    xClose,
                                    xRead,
                                    xWrite,
                                    xTruncate,
                                    xSync,
                                    xFileSize,
                                    xLock,
                                    xUnlock,
                                    xCheckReservedLock,
                                    xFileControl,
                                    xSectorSize,
                                    xDeviceCharacteristics,
                                    nullptr,
                                    nullptr,
                                    nullptr,
                                    nullptr,
                                    nullptr,
                                    nullptr};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
    auto* file = reinterpret_cast<File*>(f);
    file->base.pMethods = nullptr;
    file->name = name;
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(systemVfs->szOsFile));
    if (!file->real)
        return SQLITE_NOMEM;
    std::memset(file->real, 0, size_t(systemVfs->szOsFile));
    const int rc = systemVfs->xOpen(systemVfs, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK || !file->real->pMethods) {
        if (file->real->pMethods)
            file->real->pMethods->xClose(file->real);
        sqlite3_free(file->real);
        return rc == SQLITE_OK ? SQLITE_CANTOPEN : rc;
    }
    file->base.pMethods = &methods;
    return SQLITE_OK;
}

} // namespace

void FailingVfs::install() {
    if (systemVfs)
        return;
    systemVfs = sqlite3_vfs_find(nullptr);
    failing = *systemVfs;
    failing.zName = "failing";
    failing.szOsFile = int(sizeof(File));
    failing.xOpen = xOpen;
    failing.pNext = nullptr;
    sqlite3_vfs_register(&failing, 1);
}

void FailingVfs::failWrites(bool fail, bool diskFull, const std::string& only) {
    writeFault = diskFull ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    onlyUnder = only;
    on = fail;
}

void FailingVfs::failNextSync() {
    syncsToFail = 1;
}
