#pragma once
// SQLite's own file layer with a switch that makes the device full: while
// full, every write and every growth of the shared memory fails as it does
// on a disk without space (SQLITE_FULL, errno ENOSPC). Installed as the
// default for its lifetime, so the engine under test uses it unawares.
//
//     FullDiskVfs disk;
//     disk.setFull(true);   // from now on writes fail
#include <sqlite3.h>

#include <atomic>
#include <cerrno>

class FullDiskVfs {
public:
    FullDiskVfs()
    {
        real() = sqlite3_vfs_find(nullptr);
        vfs_ = *real();
        vfs_.zName = "full-disk";
        vfs_.szOsFile = static_cast<int>(sizeof(File)) + real()->szOsFile;
        vfs_.xOpen = open;
        vfs_.xGetLastError = lastError;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~FullDiskVfs()
    {
        sqlite3_vfs_unregister(&vfs_);
        sqlite3_vfs_register(real(), 1);
        full() = false;
    }
    FullDiskVfs(const FullDiskVfs&) = delete;
    FullDiskVfs& operator=(const FullDiskVfs&) = delete;

    void setFull(bool on) { full() = on; }

private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
    };

    static sqlite3_vfs*& real()
    {
        static sqlite3_vfs* vfs = nullptr;
        return vfs;
    }
    static std::atomic<bool>& full()
    {
        static std::atomic<bool> on{false};
        return on;
    }
    static sqlite3_file* inner(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }
    static int noSpace(int rc)
    {
        errno = ENOSPC;
        return rc;
    }

    static int open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
    {
        auto* shim = reinterpret_cast<File*>(file);
        shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
        int rc = real()->xOpen(real(), name, shim->real, flags, outFlags);
        shim->base.pMethods = shim->real->pMethods ? methods() : nullptr;
        return rc;
    }
    static int lastError(sqlite3_vfs*, int size, char* text)
    {
        if (full())
            return ENOSPC;
        return real()->xGetLastError(real(), size, text);
    }

    static const sqlite3_io_methods* methods()
    {
        static const sqlite3_io_methods table = {
            .iVersion = 3,
            .xClose = [](sqlite3_file* f) { return inner(f)->pMethods->xClose(inner(f)); },
            .xRead = [](sqlite3_file* f, void* data, int amount,
                        sqlite3_int64 offset) { return inner(f)->pMethods->xRead(inner(f), data, amount, offset); },
            .xWrite =
                [](sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
                    if (full())
                        return noSpace(SQLITE_FULL);
                    return inner(f)->pMethods->xWrite(inner(f), data, amount, offset);
                },
            .xTruncate = [](sqlite3_file* f,
                            sqlite3_int64 size) { return inner(f)->pMethods->xTruncate(inner(f), size); },
            .xSync = [](sqlite3_file* f, int flags) { return inner(f)->pMethods->xSync(inner(f), flags); },
            .xFileSize = [](sqlite3_file* f,
                            sqlite3_int64* size) { return inner(f)->pMethods->xFileSize(inner(f), size); },
            .xLock = [](sqlite3_file* f, int level) { return inner(f)->pMethods->xLock(inner(f), level); },
            .xUnlock = [](sqlite3_file* f, int level) { return inner(f)->pMethods->xUnlock(inner(f), level); },
            .xCheckReservedLock = [](sqlite3_file* f,
                                     int* out) { return inner(f)->pMethods->xCheckReservedLock(inner(f), out); },
            .xFileControl = [](sqlite3_file* f, int op,
                               void* arg) { return inner(f)->pMethods->xFileControl(inner(f), op, arg); },
            .xSectorSize = [](sqlite3_file* f) { return inner(f)->pMethods->xSectorSize(inner(f)); },
            .xDeviceCharacteristics =
                [](sqlite3_file* f) { return inner(f)->pMethods->xDeviceCharacteristics(inner(f)); },
            .xShmMap =
                [](sqlite3_file* f, int region, int size, int extend, void volatile** out) {
                    // Growing the shared memory takes space on the device too.
                    if (full() && extend)
                        return noSpace(SQLITE_IOERR_SHMSIZE);
                    return inner(f)->pMethods->xShmMap(inner(f), region, size, extend, out);
                },
            .xShmLock = [](sqlite3_file* f, int offset, int n,
                           int flags) { return inner(f)->pMethods->xShmLock(inner(f), offset, n, flags); },
            .xShmBarrier = [](sqlite3_file* f) { inner(f)->pMethods->xShmBarrier(inner(f)); },
            .xShmUnmap = [](sqlite3_file* f, int remove) { return inner(f)->pMethods->xShmUnmap(inner(f), remove); },
            .xFetch = [](sqlite3_file* f, sqlite3_int64 offset, int amount,
                         void** out) { return inner(f)->pMethods->xFetch(inner(f), offset, amount, out); },
            .xUnfetch = [](sqlite3_file* f, sqlite3_int64 offset,
                           void* page) { return inner(f)->pMethods->xUnfetch(inner(f), offset, page); },
        };
        return &table;
    }

    sqlite3_vfs vfs_{};
};
