// Loaded with LD_PRELOAD into a child process: counts the calls that change files under one folder and stops the
// process at one of them, or lets writes fail as on a full disk. Steered by the environment:
//   PARLANTA_FAULT_DIR        the folder watched (calls on other paths pass untouched)
//   PARLANTA_FAULT_KILL_AT    n: the process is killed (SIGKILL) instead of making its n-th change
//   PARLANTA_FAULT_FULL_AFTER bytes: writes beyond this many bytes fail with ENOSPC
//   PARLANTA_FAULT_READONLY   1: the folder is a read-only file system; every change fails with EROFS
//   PARLANTA_FAULT_TRACE      1: one line on standard error per change, and the totals at exit
// The hooks allocate nothing and keep their state in fixed arrays, since they run inside the C library's callers.

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

constexpr int MaxFds = 4096;
constexpr size_t MaxPath = 4096;

struct State
{
    bool ready = false;
    char dir[MaxPath] = {};
    size_t dirLength = 0;
    long killAt = 0; // 0: never
    long long fullAfter = -1; // -1: never full
    bool readOnly = false;
    bool trace = false;
    long steps = 0;
    long long bytes = 0;
    bool watchedFd[MaxFds] = {};
};

State state;

template <typename F> F next(F& cached, const char* name)
{
    if (!cached)
        cached = reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
    return cached;
}

ssize_t (*realWrite)(int, const void*, size_t);

ssize_t rawWrite(int fd, const void* data, size_t size) { return next(realWrite, "write")(fd, data, size); }

void say(const char* text) { rawWrite(2, text, strlen(text)); }

void sayNumber(long long value)
{
    char digits[24];
    int n = 0;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative)
        digits[n++] = '-';
    char text[24];
    for (int i = 0; i < n; ++i)
        text[i] = digits[n - 1 - i];
    rawWrite(2, text, static_cast<size_t>(n));
}

void setUp()
{
    if (state.ready)
        return;
    state.ready = true;
    if (const char* dir = getenv("PARLANTA_FAULT_DIR")) {
        state.dirLength = strnlen(dir, MaxPath - 1);
        memcpy(state.dir, dir, state.dirLength);
        while (state.dirLength > 1 && state.dir[state.dirLength - 1] == '/')
            state.dir[--state.dirLength] = '\0';
    }
    if (const char* kill = getenv("PARLANTA_FAULT_KILL_AT"))
        state.killAt = strtol(kill, nullptr, 10);
    if (const char* full = getenv("PARLANTA_FAULT_FULL_AFTER"))
        state.fullAfter = strtoll(full, nullptr, 10);
    const char* readOnly = getenv("PARLANTA_FAULT_READONLY");
    state.readOnly = readOnly && readOnly[0] == '1';
    const char* trace = getenv("PARLANTA_FAULT_TRACE");
    state.trace = trace && trace[0] == '1';
}

bool startsWithDir(const char* path)
{
    return strncmp(path, state.dir, state.dirLength) == 0
        && (path[state.dirLength] == '/' || path[state.dirLength] == '\0');
}

// Whether a path, taken relative to dirFd when it is not absolute, lies in the watched folder.
bool watchedPath(int dirFd, const char* path)
{
    setUp();
    if (state.dirLength == 0)
        return true;
    if (!path)
        return false;
    if (path[0] == '/')
        return startsWithDir(path);
    if (dirFd != AT_FDCWD)
        return dirFd >= 0 && dirFd < MaxFds && state.watchedFd[dirFd];
    char cwd[MaxPath];
    if (!getcwd(cwd, sizeof cwd))
        return false;
    const size_t length = strlen(cwd);
    if (length + 1 + strlen(path) >= sizeof cwd)
        return false;
    cwd[length] = '/';
    strcpy(cwd + length + 1, path);
    return startsWithDir(cwd);
}

bool watchedFd(int fd)
{
    setUp();
    if (state.dirLength == 0)
        return true;
    return fd >= 0 && fd < MaxFds && state.watchedFd[fd];
}

void remember(int fd, bool watched)
{
    if (fd >= 0 && fd < MaxFds)
        state.watchedFd[fd] = watched;
}

// One change is about to be made: the process dies here when this is the change it is to die at.
void step(const char* what, const char* path, long long bytes = -1)
{
    const long n = __atomic_add_fetch(&state.steps, 1, __ATOMIC_SEQ_CST);
    const bool dies = state.killAt > 0 && n == state.killAt;
    if (state.trace || dies) {
        say(dies ? "parlanta-fault: kill at step " : "parlanta-fault: step ");
        sayNumber(n);
        say(" ");
        say(what);
        if (path) {
            say(" ");
            say(path);
        }
        if (bytes >= 0) {
            say(" bytes=");
            sayNumber(bytes);
        }
        say("\n");
    }
    if (dies)
        kill(getpid(), SIGKILL);
}

// How many of size bytes the disk still takes; -1 with ENOSPC when it takes none.
ssize_t room(size_t size)
{
    if (state.fullAfter < 0)
        return static_cast<ssize_t>(size);
    const long long left = state.fullAfter - state.bytes;
    if (left <= 0 && size > 0) {
        errno = ENOSPC;
        return -1;
    }
    return static_cast<ssize_t>(static_cast<long long>(size) < left ? static_cast<long long>(size) : left);
}

void wrote(ssize_t n)
{
    if (n > 0)
        __atomic_add_fetch(&state.bytes, static_cast<long long>(n), __ATOMIC_SEQ_CST);
}

// On a read-only file system a change of the watched folder is refused before it is made.
bool refusedAsReadOnly(bool watched)
{
    if (!watched || !state.readOnly)
        return false;
    errno = EROFS;
    return true;
}

bool changesFile(int flags) { return (flags & (O_CREAT | O_TRUNC)) != 0 || (flags & O_TMPFILE) == O_TMPFILE; }

bool needsMode(int flags) { return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE; }

template <typename Open> int openAt(Open open, int dirFd, const char* path, int flags, mode_t mode, const char* what)
{
    const bool watched = watchedPath(dirFd, path);
    if (watched && changesFile(flags))
        step(what, path);
    if (refusedAsReadOnly(watched && (changesFile(flags) || (flags & O_ACCMODE) != O_RDONLY)))
        return -1;
    const int fd = open(dirFd, path, flags, mode);
    remember(fd, watched);
    return fd;
}

#define HOOK(name) decltype(&::name) real_##name = nullptr

HOOK(openat);
HOOK(openat64);
HOOK(pwrite);
HOOK(pwrite64);
HOOK(writev);
HOOK(sendfile);
HOOK(sendfile64);
HOOK(copy_file_range);
HOOK(rename);
HOOK(renameat);
HOOK(renameat2);
HOOK(link);
HOOK(linkat);
HOOK(unlink);
HOOK(unlinkat);
HOOK(mkdir);
HOOK(mkdirat);
HOOK(ftruncate);
HOOK(ftruncate64);
HOOK(truncate);
HOOK(fsync);
HOOK(fdatasync);
HOOK(close);
HOOK(access);
HOOK(faccessat);
HOOK(euidaccess);

int plainOpenAt(int dirFd, const char* path, int flags, mode_t mode)
{
    return next(real_openat, "openat")(dirFd, path, flags, mode);
}

int plainOpenAt64(int dirFd, const char* path, int flags, mode_t mode)
{
    return next(real_openat64, "openat64")(dirFd, path, flags, mode);
}

mode_t modeArgument(int flags, va_list arguments)
{
    return needsMode(flags) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// A write of size bytes to fd by call(bytes allowed), counted and limited when fd is watched.
template <typename Call> ssize_t limitedWrite(int fd, size_t size, const char* what, Call call)
{
    if (!watchedFd(fd))
        return call(size);
    step(what, nullptr, static_cast<long long>(size));
    const ssize_t allowed = room(size);
    if (allowed < 0)
        return -1;
    const ssize_t n = call(static_cast<size_t>(allowed));
    wrote(n);
    return n;
}

// A change of a name in the watched folder, made by call().
template <typename Call> int nameChange(bool watched, const char* what, const char* path, Call call)
{
    if (watched)
        step(what, path);
    if (refusedAsReadOnly(watched))
        return -1;
    return call();
}

template <typename Call> int fdChange(int fd, const char* what, Call call)
{
    if (watchedFd(fd))
        step(what, nullptr);
    // Syncing what could not have been written is harmless; cutting a file is a change.
    if (refusedAsReadOnly(watchedFd(fd) && strcmp(what, "ftruncate") == 0))
        return -1;
    return call();
}

// A question for write access, which a read-only file system answers with EROFS, whoever asks, root included.
template <typename Call> int accessCheck(int mode, bool watched, Call call)
{
    if (refusedAsReadOnly(watched && (mode & W_OK) != 0))
        return -1;
    return call();
}

struct Totals
{
    ~Totals()
    {
        if (!state.trace)
            return;
        say("parlanta-fault: steps=");
        sayNumber(state.steps);
        say(" bytes=");
        sayNumber(state.bytes);
        say("\n");
    }
};
Totals totals;

}

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAt(plainOpenAt, AT_FDCWD, path, flags, mode, "open");
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAt(plainOpenAt64, AT_FDCWD, path, flags, mode, "open");
}

int openat(int dirFd, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAt(plainOpenAt, dirFd, path, flags, mode, "open");
}

int openat64(int dirFd, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openAt(plainOpenAt64, dirFd, path, flags, mode, "open");
}

int creat(const char* path, mode_t mode)
{
    return openAt(plainOpenAt, AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode, "creat");
}

int creat64(const char* path, mode_t mode)
{
    return openAt(plainOpenAt64, AT_FDCWD, path, O_CREAT | O_WRONLY | O_TRUNC, mode, "creat");
}

int close(int fd)
{
    remember(fd, false);
    return next(real_close, "close")(fd);
}

ssize_t write(int fd, const void* data, size_t size)
{
    return limitedWrite(fd, size, "write", [&](size_t n) { return rawWrite(fd, data, n); });
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset)
{
    return limitedWrite(fd, size, "pwrite", [&](size_t n) { return next(real_pwrite, "pwrite")(fd, data, n, offset); });
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    return limitedWrite(
        fd, size, "pwrite", [&](size_t n) { return next(real_pwrite64, "pwrite64")(fd, data, n, offset); });
}

ssize_t writev(int fd, const struct iovec* parts, int count)
{
    size_t size = 0;
    for (int i = 0; i < count; ++i)
        size += parts[i].iov_len;
    return limitedWrite(fd, size, "writev", [&](size_t n) -> ssize_t {
        // A write the disk takes only in part is refused whole: the caller learns of the full disk at once.
        if (n < size) {
            errno = ENOSPC;
            return -1;
        }
        return next(real_writev, "writev")(fd, parts, count);
    });
}

ssize_t sendfile(int out, int in, off_t* offset, size_t size)
{
    return limitedWrite(
        out, size, "sendfile", [&](size_t n) { return next(real_sendfile, "sendfile")(out, in, offset, n); });
}

ssize_t sendfile64(int out, int in, off64_t* offset, size_t size)
{
    return limitedWrite(
        out, size, "sendfile", [&](size_t n) { return next(real_sendfile64, "sendfile64")(out, in, offset, n); });
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size, unsigned int flags)
{
    return limitedWrite(out, size, "copy_file_range", [&](size_t n) {
        return next(real_copy_file_range, "copy_file_range")(in, inOffset, out, outOffset, n, flags);
    });
}

int rename(const char* from, const char* to)
{
    return nameChange(watchedPath(AT_FDCWD, from) || watchedPath(AT_FDCWD, to), "rename", to,
        [&] { return next(real_rename, "rename")(from, to); });
}

int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    return nameChange(watchedPath(fromDir, from) || watchedPath(toDir, to), "rename", to,
        [&] { return next(real_renameat, "renameat")(fromDir, from, toDir, to); });
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned int flags)
{
    return nameChange(watchedPath(fromDir, from) || watchedPath(toDir, to), "rename", to,
        [&] { return next(real_renameat2, "renameat2")(fromDir, from, toDir, to, flags); });
}

int link(const char* from, const char* to)
{
    return nameChange(watchedPath(AT_FDCWD, to), "link", to, [&] { return next(real_link, "link")(from, to); });
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    return nameChange(watchedPath(toDir, to), "link", to,
        [&] { return next(real_linkat, "linkat")(fromDir, from, toDir, to, flags); });
}

int unlink(const char* path)
{
    return nameChange(watchedPath(AT_FDCWD, path), "unlink", path, [&] { return next(real_unlink, "unlink")(path); });
}

int unlinkat(int dirFd, const char* path, int flags)
{
    return nameChange(
        watchedPath(dirFd, path), "unlink", path, [&] { return next(real_unlinkat, "unlinkat")(dirFd, path, flags); });
}

int mkdir(const char* path, mode_t mode)
{
    return nameChange(
        watchedPath(AT_FDCWD, path), "mkdir", path, [&] { return next(real_mkdir, "mkdir")(path, mode); });
}

int mkdirat(int dirFd, const char* path, mode_t mode)
{
    return nameChange(
        watchedPath(dirFd, path), "mkdir", path, [&] { return next(real_mkdirat, "mkdirat")(dirFd, path, mode); });
}

int truncate(const char* path, off_t length)
{
    return nameChange(
        watchedPath(AT_FDCWD, path), "truncate", path, [&] { return next(real_truncate, "truncate")(path, length); });
}

int ftruncate(int fd, off_t length)
{
    return fdChange(fd, "ftruncate", [&] { return next(real_ftruncate, "ftruncate")(fd, length); });
}

int ftruncate64(int fd, off64_t length)
{
    return fdChange(fd, "ftruncate", [&] { return next(real_ftruncate64, "ftruncate64")(fd, length); });
}

int fsync(int fd)
{
    return fdChange(fd, "fsync", [&] { return next(real_fsync, "fsync")(fd); });
}

int fdatasync(int fd)
{
    return fdChange(fd, "fdatasync", [&] { return next(real_fdatasync, "fdatasync")(fd); });
}

int access(const char* path, int mode)
{
    return accessCheck(mode, watchedPath(AT_FDCWD, path), [&] { return next(real_access, "access")(path, mode); });
}

int faccessat(int dirFd, const char* path, int mode, int flags)
{
    return accessCheck(
        mode, watchedPath(dirFd, path), [&] { return next(real_faccessat, "faccessat")(dirFd, path, mode, flags); });
}

int euidaccess(const char* path, int mode)
{
    return accessCheck(
        mode, watchedPath(AT_FDCWD, path), [&] { return next(real_euidaccess, "euidaccess")(path, mode); });
}

int eaccess(const char* path, int mode) { return euidaccess(path, mode); }
}
