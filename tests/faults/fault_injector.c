/* A file-system fault injector for the fault sweep (tst_faultsweep), loaded
 * into quillon with LD_PRELOAD. It numbers the file-system calls on paths
 * below one folder, and on the descriptors opened there, and acts on call N:
 *
 *   QUILLON_FAULT_ROOT   the folder whose calls are numbered (absolute)
 *   QUILLON_FAULT_AT     N, from 1; unset or 0: only count
 *   QUILLON_FAULT_MODE   fail  - call N fails with QUILLON_FAULT_ERRNO
 *                        from  - call N and every later one fail
 *                        short - write N writes half of what it was given
 *                        kill  - the process is killed (SIGKILL) before call N
 *                        term  - the process is asked to stop (SIGTERM) before call N
 *   QUILLON_FAULT_ERRNO  EIO (default), ENOSPC or EACCES
 *   QUILLON_FAULT_LOG    a file each numbered call is appended to, as
 *                        "N operation path" (an opening that may create or
 *                        write is "create")
 *
 * Only a process whose program is named "quillon" is touched, so that the
 * tools that start it (setpriv, taskset) pass through unchanged.
 *
 * Linux and glibc only: it replaces the C library's own functions by name,
 * which neither Windows nor Wine offers; the Windows build's journal tests
 * stand in for it there. */
#define _GNU_SOURCE
#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

enum Mode { CountOnly, FailOnce, FailFrom, ShortWrite, Kill, Term };

static int enabled;
static char root[4096];
static size_t rootLength;
static long faultAt;
static enum Mode mode = CountOnly;
static int faultErrno = EIO;
static int logFd = -1;
static atomic_long calls;

/* The descriptors opened below the root, and whether for writing. */
#define MaxFds 4096
static char *fdPaths[MaxFds];
static unsigned char fdWrites[MaxFds];
static pthread_mutex_t fdLock = PTHREAD_MUTEX_INITIALIZER;

#define REAL(name) static __typeof__(name) *real_##name
#define RESOLVE(name) \
    do { \
        if (!real_##name) \
            real_##name = (__typeof__(name) *) dlsym(RTLD_NEXT, #name); \
    } while (0)

static int isBelowRoot(const char *path)
{
    return enabled && path && strncmp(path, root, rootLength) == 0
           && (path[rootLength] == '/' || path[rootLength] == '\0');
}

/* An absolute form of path relative to dirfd, or NULL when it is not known. */
static char *absolute(int dirfd, const char *path, char *buffer, size_t size)
{
    if (!path)
        return NULL;
    if (path[0] == '/')
        return (char *) path;
    if (dirfd == AT_FDCWD) {
        if (!getcwd(buffer, size))
            return NULL;
    } else {
        pthread_mutex_lock(&fdLock);
        const char *base = dirfd >= 0 && dirfd < MaxFds ? fdPaths[dirfd] : NULL;
        if (base)
            snprintf(buffer, size, "%s", base);
        pthread_mutex_unlock(&fdLock);
        if (!base)
            return NULL;
    }
    size_t used = strlen(buffer);
    snprintf(buffer + used, size - used, "/%s", path);
    return buffer;
}

static void logCall(long number, const char *operation, const char *path)
{
    if (logFd < 0)
        return;
    char line[4200];
    int length = snprintf(line, sizeof line, "%ld %s %s\n", number, operation, path ? path : "");
    if (length > 0)
        syscall(SYS_write, logFd, line,
                (size_t) (length < (int) sizeof line ? length : (int) sizeof line - 1));
}

/* What to do with a numbered call. */
enum Action { Pass, Fail, Short };

static enum Action numbered(const char *operation, const char *path)
{
    const long number = atomic_fetch_add(&calls, 1) + 1;
    logCall(number, operation, path);
    if (mode == CountOnly || faultAt <= 0)
        return Pass;
    if (mode == Kill && number == faultAt)
        kill(getpid(), SIGKILL);
    if (mode == Term && number == faultAt)
        kill(getpid(), SIGTERM);
    if (mode == FailOnce && number == faultAt)
        return Fail;
    if (mode == FailFrom && number >= faultAt)
        return Fail;
    if (mode == ShortWrite && number == faultAt)
        return Short;
    return Pass;
}

static enum Action onPath(const char *operation, int dirfd, const char *path)
{
    char buffer[4096];
    const char *full = enabled ? absolute(dirfd, path, buffer, sizeof buffer) : NULL;
    return isBelowRoot(full) ? numbered(operation, full) : Pass;
}

static enum Action onFd(const char *operation, int fd, int onlyWhenWritten)
{
    if (!enabled || fd < 0 || fd >= MaxFds)
        return Pass;
    char path[4096];
    pthread_mutex_lock(&fdLock);
    const int known = fdPaths[fd] != NULL && (!onlyWhenWritten || fdWrites[fd]);
    if (known)
        snprintf(path, sizeof path, "%s", fdPaths[fd]);
    pthread_mutex_unlock(&fdLock);
    return known ? numbered(operation, path) : Pass;
}

static void remember(int fd, int dirfd, const char *path, int flags)
{
    char buffer[4096];
    const char *full = absolute(dirfd, path, buffer, sizeof buffer);
    if (fd < 0 || fd >= MaxFds || !isBelowRoot(full))
        return;
    pthread_mutex_lock(&fdLock);
    free(fdPaths[fd]);
    fdPaths[fd] = strdup(full);
    fdWrites[fd] = (flags & O_ACCMODE) != O_RDONLY;
    pthread_mutex_unlock(&fdLock);
}

static void forget(int fd)
{
    if (fd < 0 || fd >= MaxFds)
        return;
    pthread_mutex_lock(&fdLock);
    free(fdPaths[fd]);
    fdPaths[fd] = NULL;
    pthread_mutex_unlock(&fdLock);
}

static int failed(void)
{
    errno = faultErrno;
    return -1;
}

__attribute__((constructor)) static void start(void)
{
    if (strcmp(program_invocation_short_name, "quillon") != 0)
        return;
    const char *folder = getenv("QUILLON_FAULT_ROOT");
    if (!folder || folder[0] != '/' || strlen(folder) >= sizeof root)
        return;
    snprintf(root, sizeof root, "%s", folder);
    rootLength = strlen(root);
    while (rootLength > 1 && root[rootLength - 1] == '/')
        root[--rootLength] = '\0';
    const char *at = getenv("QUILLON_FAULT_AT");
    faultAt = at ? atol(at) : 0;
    const char *how = getenv("QUILLON_FAULT_MODE");
    if (how && faultAt > 0) {
        mode = strcmp(how, "fail") == 0    ? FailOnce
               : strcmp(how, "from") == 0  ? FailFrom
               : strcmp(how, "short") == 0 ? ShortWrite
               : strcmp(how, "kill") == 0  ? Kill
               : strcmp(how, "term") == 0  ? Term
                                           : CountOnly;
    }
    const char *code = getenv("QUILLON_FAULT_ERRNO");
    if (code)
        faultErrno = strcmp(code, "ENOSPC") == 0   ? ENOSPC
                     : strcmp(code, "EACCES") == 0 ? EACCES
                                                   : EIO;
    const char *log = getenv("QUILLON_FAULT_LOG");
    if (log)
        logFd = (int) syscall(SYS_openat, AT_FDCWD, log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                              0644);
    enabled = 1;
}

/* Parameters given to the macros below, commas and all. */
#define WITH(...) __VA_ARGS__

/* Opening. */

static int openMode(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, int) : 0;
}

/* An opening that may create or write is logged as "create". */
static const char *opening(int flags)
{
    return (flags & O_CREAT) || (flags & O_ACCMODE) != O_RDONLY ? "create" : "open";
}

/* open(path, ...) and openat(dirfd, path, ...): folder declares the
   parameters before the path, given passes them on, dirfd is the folder. */
#define DEFINE_OPEN(name, folder, given, dirfd) \
    REAL(name); \
    int name(folder const char *path, int flags, ...) \
    { \
        va_list arguments; \
        va_start(arguments, flags); \
        const int permissions = openMode(flags, arguments); \
        va_end(arguments); \
        RESOLVE(name); \
        if (onPath(opening(flags), dirfd, path) == Fail) \
            return failed(); \
        const int fd = real_##name(given path, flags, permissions); \
        remember(fd, dirfd, path, flags); \
        return fd; \
    }
DEFINE_OPEN(open, , , AT_FDCWD)
DEFINE_OPEN(open64, , , AT_FDCWD)
DEFINE_OPEN(openat, WITH(int dirfd, ), WITH(dirfd, ), dirfd)
DEFINE_OPEN(openat64, WITH(int dirfd, ), WITH(dirfd, ), dirfd)

REAL(opendir);
DIR *opendir(const char *path)
{
    RESOLVE(opendir);
    if (onPath("opendir", AT_FDCWD, path) == Fail) {
        errno = faultErrno;
        return NULL;
    }
    return real_opendir(path);
}

REAL(close);
int close(int fd)
{
    RESOLVE(close);
    /* Only a descriptor that was written can lose data when it closes. */
    const enum Action action = onFd("close", fd, 1);
    forget(fd);
    const int result = real_close(fd);
    return action == Fail ? failed() : result;
}

/* Reading and writing. */

REAL(read);
ssize_t read(int fd, void *buffer, size_t size)
{
    RESOLVE(read);
    if (onFd("read", fd, 0) == Fail)
        return failed();
    return real_read(fd, buffer, size);
}

REAL(write);
ssize_t write(int fd, const void *buffer, size_t size)
{
    RESOLVE(write);
    const enum Action action = onFd("write", fd, 0);
    if (action == Fail)
        return failed();
    return real_write(fd, buffer, action == Short && size > 1 ? size / 2 : size);
}

#define DEFINE_PWRITE(name, offset_t) \
    REAL(name); \
    ssize_t name(int fd, const void *buffer, size_t size, offset_t offset) \
    { \
        RESOLVE(name); \
        const enum Action action = onFd("write", fd, 0); \
        if (action == Fail) \
            return failed(); \
        return real_##name(fd, buffer, action == Short && size > 1 ? size / 2 : size, offset); \
    }
DEFINE_PWRITE(pwrite, off_t)
DEFINE_PWRITE(pwrite64, off64_t)

/* A call on a descriptor. */
#define DEFINE_FD(name, operation, parameters, arguments) \
    REAL(name); \
    int name(int fd parameters) \
    { \
        RESOLVE(name); \
        if (onFd(operation, fd, 0) == Fail) \
            return failed(); \
        return real_##name(fd arguments); \
    }
DEFINE_FD(fsync, "fsync", , )
DEFINE_FD(fdatasync, "fsync", , )
DEFINE_FD(syncfs, "fsync", , )
DEFINE_FD(fchmod, "chmod", WITH(, mode_t permissions), WITH(, permissions))
DEFINE_FD(ftruncate, "ftruncate", WITH(, off_t length), WITH(, length))
DEFINE_FD(ftruncate64, "ftruncate", WITH(, off64_t length), WITH(, length))
DEFINE_FD(fstat, "stat", WITH(, struct stat *info), WITH(, info))
DEFINE_FD(fstat64, "stat", WITH(, struct stat64 *info), WITH(, info))

/* A call on a path, and one on a path relative to a folder's descriptor. */
#define DEFINE_PATH(name, operation, parameters, arguments) \
    REAL(name); \
    int name(const char *path parameters) \
    { \
        RESOLVE(name); \
        if (onPath(operation, AT_FDCWD, path) == Fail) \
            return failed(); \
        return real_##name(path arguments); \
    }
#define DEFINE_PATH_AT(name, operation, parameters, arguments) \
    REAL(name); \
    int name(int dirfd, const char *path parameters) \
    { \
        RESOLVE(name); \
        if (onPath(operation, dirfd, path) == Fail) \
            return failed(); \
        return real_##name(dirfd, path arguments); \
    }
DEFINE_PATH(unlink, "unlink", , )
DEFINE_PATH(rmdir, "rmdir", , )
DEFINE_PATH_AT(unlinkat, "unlink", WITH(, int flags), WITH(, flags))
DEFINE_PATH(mkdir, "mkdir", WITH(, mode_t permissions), WITH(, permissions))
DEFINE_PATH_AT(mkdirat, "mkdir", WITH(, mode_t permissions), WITH(, permissions))
DEFINE_PATH(chmod, "chmod", WITH(, mode_t permissions), WITH(, permissions))
DEFINE_PATH_AT(fchmodat, "chmod", WITH(, mode_t permissions, int flags), WITH(, permissions, flags))
DEFINE_PATH(truncate, "ftruncate", WITH(, off_t length), WITH(, length))
DEFINE_PATH(truncate64, "ftruncate", WITH(, off64_t length), WITH(, length))
DEFINE_PATH(access, "stat", WITH(, int how), WITH(, how))
DEFINE_PATH(stat, "stat", WITH(, struct stat *info), WITH(, info))
DEFINE_PATH(stat64, "stat", WITH(, struct stat64 *info), WITH(, info))
DEFINE_PATH(lstat, "stat", WITH(, struct stat *info), WITH(, info))
DEFINE_PATH(lstat64, "stat", WITH(, struct stat64 *info), WITH(, info))
DEFINE_PATH(statvfs, "stat", WITH(, struct statvfs *info), WITH(, info))
DEFINE_PATH(statvfs64, "stat", WITH(, struct statvfs64 *info), WITH(, info))

/* Two paths: a call counts when either lies below the root, named by the target. */
static enum Action onPaths(const char *operation, int fromDir, const char *from, int toDir,
                           const char *to)
{
    char one[4096], two[4096];
    const char *source = enabled ? absolute(fromDir, from, one, sizeof one) : NULL;
    const char *target = enabled ? absolute(toDir, to, two, sizeof two) : NULL;
    if (isBelowRoot(target))
        return numbered(operation, target);
    return isBelowRoot(source) ? numbered(operation, source) : Pass;
}

#define DEFINE_TWO_PATHS(name, operation, parameters, arguments) \
    REAL(name); \
    int name(const char *from, const char *to parameters) \
    { \
        RESOLVE(name); \
        if (onPaths(operation, AT_FDCWD, from, AT_FDCWD, to) == Fail) \
            return failed(); \
        return real_##name(from, to arguments); \
    }
#define DEFINE_TWO_PATHS_AT(name, operation, parameters, arguments) \
    REAL(name); \
    int name(int fromDir, const char *from, int toDir, const char *to parameters) \
    { \
        RESOLVE(name); \
        if (onPaths(operation, fromDir, from, toDir, to) == Fail) \
            return failed(); \
        return real_##name(fromDir, from, toDir, to arguments); \
    }
DEFINE_TWO_PATHS(rename, "rename", , )
DEFINE_TWO_PATHS_AT(renameat, "rename", , )
DEFINE_TWO_PATHS_AT(renameat2, "rename", WITH(, unsigned int flags), WITH(, flags))
DEFINE_TWO_PATHS(link, "link", , )
DEFINE_TWO_PATHS_AT(linkat, "link", WITH(, int flags), WITH(, flags))

/* With AT_EMPTY_PATH and an empty path, the call is on the descriptor. */
static enum Action onPathOrFd(int dirfd, const char *path, int flags)
{
    if ((flags & AT_EMPTY_PATH) && path[0] == '\0')
        return onFd("stat", dirfd, 0);
    return onPath("stat", dirfd, path);
}

#define DEFINE_FSTATAT(name, info_t) \
    REAL(name); \
    int name(int dirfd, const char *path, info_t *info, int flags) \
    { \
        RESOLVE(name); \
        if (onPathOrFd(dirfd, path, flags) == Fail) \
            return failed(); \
        return real_##name(dirfd, path, info, flags); \
    }
DEFINE_FSTATAT(fstatat, struct stat)
DEFINE_FSTATAT(fstatat64, struct stat64)

REAL(statx);
int statx(int dirfd, const char *path, int flags, unsigned int mask, struct statx *info)
{
    RESOLVE(statx);
    if (onPathOrFd(dirfd, path, flags) == Fail)
        return failed();
    return real_statx(dirfd, path, flags, mask, info);
}
