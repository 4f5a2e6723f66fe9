// A disk that fills up, for the history's tests, loaded with LD_PRELOAD:
//   VELORIN_WRITE_FAULT=PREFIX:BYTES
// Once BYTES bytes have been written to files whose path starts with PREFIX, every further write
// to them fails with ENOSPC, as on a full disk. Other files, pipes and terminals are untouched,
// and so is SQLite's shared-memory index (-shm): its blocks were taken when it was made.
// Needs no privileges, unlike a small file system mounted for the test.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static char prefix[PATH_MAX];
static long long budget = -1;
static atomic_llong written;
static atomic_int ready;

static void setup(void) {
    if (atomic_load(&ready))
        return;
    const char* spec = getenv("VELORIN_WRITE_FAULT");
    const char* colon = spec ? strrchr(spec, ':') : NULL;
    if (colon && (size_t)(colon - spec) < sizeof prefix) {
        memcpy(prefix, spec, (size_t)(colon - spec));
        prefix[colon - spec] = '\0';
        budget = atoll(colon + 1);
    }
    atomic_store(&ready, 1);
}

// True when this write must fail: the file is watched and the budget is spent.
static int refused(int fd, size_t count) {
    setup();
    if (budget < 0)
        return 0;
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0)
        return 0;
    path[n] = '\0';
    const size_t length = strlen(path);
    if (strncmp(path, prefix, strlen(prefix)) != 0 ||
        (length > 4 && strcmp(path + length - 4, "-shm") == 0))
        return 0;
    if (atomic_fetch_add(&written, (long long)count) + (long long)count <= budget)
        return 0;
    errno = ENOSPC;
    return 1;
}

ssize_t write(int fd, const void* buffer, size_t count) {
    static ssize_t (*real)(int, const void*, size_t);
    if (!real)
        real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    return refused(fd, count) ? -1 : real(fd, buffer, count);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
    static ssize_t (*real)(int, const void*, size_t, off_t);
    if (!real)
        real = (ssize_t(*)(int, const void*, size_t, off_t))dlsym(RTLD_NEXT, "pwrite");
    return refused(fd, count) ? -1 : real(fd, buffer, count, offset);
}

ssize_t pwrite64(int fd, const void* buffer, size_t count, off64_t offset) {
    static ssize_t (*real)(int, const void*, size_t, off64_t);
    if (!real)
        real = (ssize_t(*)(int, const void*, size_t, off64_t))dlsym(RTLD_NEXT, "pwrite64");
    return refused(fd, count) ? -1 : real(fd, buffer, count, offset);
}
