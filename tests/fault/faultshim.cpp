// Preloaded into a program under test (LD_PRELOAD) to make its file system
// misbehave the way full disks and read-only folders do:
//
//   KRML_FAULT_ROOM=N      regular files of the process take N bytes in all;
//                          a write beyond comes up short, the next one fails
//                          with ENOSPC (a disk filling up)
//   KRML_FAULT_SHORT=1     every write to a regular file takes at most half
//                          of what it is given (and at least one byte)
//   KRML_FAULT_READONLY=D  nothing can be created, opened for writing,
//                          renamed or made under the folder D (EROFS)
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

std::atomic<long long> used{0};

template<typename F>
F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool regularFile(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

// How many of n bytes a write may take; 0 means the disk is full.
size_t allowed(int fd, size_t n)
{
    if (n == 0 || !regularFile(fd))
        return n;
    if (const char *s = getenv("KRML_FAULT_SHORT"); s && *s == '1')
        n = n > 1 ? n / 2 : n;
    if (const char *room = getenv("KRML_FAULT_ROOM")) {
        const long long left = atoll(room) - used.load();
        if (left <= 0)
            return 0;
        if (static_cast<long long>(n) > left)
            n = static_cast<size_t>(left);
    }
    return n;
}

void account(ssize_t written)
{
    // Bytes count from the moment the room is set.
    if (written > 0 && getenv("KRML_FAULT_ROOM"))
        used += written;
}

bool readOnlyPath(const char *path)
{
    const char *folder = getenv("KRML_FAULT_READONLY");
    if (!folder || !*folder || !path)
        return false;
    const size_t n = strlen(folder);
    return strncmp(path, folder, n) == 0 && (path[n] == '/' || path[n] == '\0');
}

bool writing(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
}

// open and open64 alike: refuse writing under the read-only folder,
// otherwise hand on to the real function with the mode the caller gave.
template<typename Open>
int guardedOpen(Open next, const char *path, int flags, va_list args)
{
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
    if (writing(flags) && readOnlyPath(path)) {
        errno = EROFS;
        return -1;
    }
    return next(path, flags, mode);
}

} // namespace

extern "C" {

ssize_t write(int fd, const void *buffer, size_t n)
{
    static auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    const size_t take = allowed(fd, n);
    if (n > 0 && take == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t done = next(fd, buffer, take);
    if (regularFile(fd))
        account(done);
    return done;
}

ssize_t pwrite64(int fd, const void *buffer, size_t n, off64_t offset)
{
    static auto next = real<ssize_t (*)(int, const void *, size_t, off64_t)>("pwrite64");
    const size_t take = allowed(fd, n);
    if (n > 0 && take == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t done = next(fd, buffer, take, offset);
    if (regularFile(fd))
        account(done);
    return done;
}

ssize_t pwrite(int fd, const void *buffer, size_t n, off_t offset)
{
    return pwrite64(fd, buffer, n, offset);
}

ssize_t writev(int fd, const struct iovec *iov, int count)
{
    // One buffer at a time, so that the room applies to each.
    ssize_t total = 0;
    for (int i = 0; i < count; ++i) {
        const ssize_t done = write(fd, iov[i].iov_base, iov[i].iov_len);
        if (done < 0)
            return total > 0 ? total : -1;
        total += done;
        if (size_t(done) < iov[i].iov_len)
            break;
    }
    return total;
}

int open(const char *path, int flags, ...)
{
    static auto next = real<int (*)(const char *, int, ...)>("open");
    va_list args;
    va_start(args, flags);
    const int fd = guardedOpen(next, path, flags, args);
    va_end(args);
    return fd;
}

int open64(const char *path, int flags, ...)
{
    static auto next = real<int (*)(const char *, int, ...)>("open64");
    va_list args;
    va_start(args, flags);
    const int fd = guardedOpen(next, path, flags, args);
    va_end(args);
    return fd;
}

int rename(const char *from, const char *to)
{
    static auto next = real<int (*)(const char *, const char *)>("rename");
    if (readOnlyPath(from) || readOnlyPath(to)) {
        errno = EROFS;
        return -1;
    }
    return next(from, to);
}

int mkdir(const char *path, mode_t mode)
{
    static auto next = real<int (*)(const char *, mode_t)>("mkdir");
    if (readOnlyPath(path)) {
        errno = EROFS;
        return -1;
    }
    return next(path, mode);
}

} // extern "C"
