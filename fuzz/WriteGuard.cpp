// The functions below take the place of the C library's for the whole process (Qt included):
// each checks its path and then calls the C library's own, found with dlsym(RTLD_NEXT).

#include "fuzz/WriteGuard.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace
{

bool gArmed = false;
std::string gFolder;
thread_local bool tInside = false; // the guard's own calls pass unchecked

template <typename Fn> Fn real(const char *name)
{
    static_assert(sizeof(Fn) == sizeof(void *));
    void *symbol = dlsym(RTLD_NEXT, name);
    if (!symbol) {
        fprintf(stderr, "WriteGuard: no %s in the C library\n", name);
        abort();
    }
    return reinterpret_cast<Fn>(symbol);
}

// "/a/./b/../c" -> "/a/c", without looking at the disk.
std::string lexicallyNormal(const std::string &path)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= path.size()) {
        size_t next = path.find('/', at);
        if (next == std::string::npos)
            next = path.size();
        const std::string part = path.substr(at, next - at);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        at = next + 1;
    }
    std::string out;
    for (const std::string &part : parts)
        out += "/" + part;
    return out.empty() ? "/" : out;
}

std::string directoryOf(int dirfd)
{
    char buffer[PATH_MAX];
    if (dirfd == AT_FDCWD)
        return getcwd(buffer, sizeof buffer) ? buffer : "";
    const std::string link = "/proc/self/fd/" + std::to_string(dirfd);
    const ssize_t n = readlink(link.c_str(), buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, size_t(n)) : "";
}

// The place on disk a call on (dirfd, path) changes: links in the folder part are resolved, and
// a link in the last part too when the call follows it.
std::string placeOf(int dirfd, const char *path, bool followsLast)
{
    std::string full = path[0] == '/' ? path : directoryOf(dirfd) + "/" + path;
    full = lexicallyNormal(full);
    char buffer[PATH_MAX];
    struct stat st;
    if (followsLast && lstat(full.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
        return realpath(full.c_str(), buffer) ? buffer : "<dangling link " + full + ">";
    const size_t slash = full.rfind('/');
    const std::string parent = slash == 0 ? "/" : full.substr(0, slash);
    if (realpath(parent.c_str(), buffer))
        return lexicallyNormal(std::string(buffer) + full.substr(slash));
    return full;
}

void check(const char *what, int dirfd, const char *path, bool followsLast = false)
{
    if (!gArmed || tInside || !path)
        return;
    tInside = true;
    const std::string place = placeOf(dirfd, path, followsLast);
    const bool inside =
        place == gFolder || place.compare(0, gFolder.size() + 1, gFolder + "/") == 0;
    tInside = false;
    if (!inside) {
        fprintf(stderr, "WriteGuard: %s(\"%s\") would change \"%s\", outside \"%s\"\n", what, path,
                place.c_str(), gFolder.c_str());
        abort();
    }
}

[[noreturn]] void refuseLink(const char *what, const char *target, const char *path)
{
    fprintf(stderr, "WriteGuard: %s(\"%s\" -> \"%s\"): no links may be created\n", what, path,
            target);
    abort();
}

bool changes(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC | O_APPEND)) != 0 ||
           (flags & O_TMPFILE) == O_TMPFILE;
}

mode_t modeArgument(int flags, va_list args)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(args, int)) : 0;
}

} // namespace

void WriteGuard::Arm(const std::string &Folder)
{
    gFolder = Folder;
    gArmed = true;
}

void WriteGuard::Disarm()
{
    gArmed = false;
}

extern "C" {

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changes(flags))
        check("open", AT_FDCWD, path, !(flags & O_NOFOLLOW));
    static auto fn = real<int (*)(const char *, int, ...)>("open");
    return fn(path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changes(flags))
        check("open64", AT_FDCWD, path, !(flags & O_NOFOLLOW));
    static auto fn = real<int (*)(const char *, int, ...)>("open64");
    return fn(path, flags, mode);
}

int openat(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changes(flags))
        check("openat", dirfd, path, !(flags & O_NOFOLLOW));
    static auto fn = real<int (*)(int, const char *, int, ...)>("openat");
    return fn(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changes(flags))
        check("openat64", dirfd, path, !(flags & O_NOFOLLOW));
    static auto fn = real<int (*)(int, const char *, int, ...)>("openat64");
    return fn(dirfd, path, flags, mode);
}

int creat(const char *path, mode_t mode)
{
    check("creat", AT_FDCWD, path, true);
    static auto fn = real<int (*)(const char *, mode_t)>("creat");
    return fn(path, mode);
}

int creat64(const char *path, mode_t mode)
{
    check("creat64", AT_FDCWD, path, true);
    static auto fn = real<int (*)(const char *, mode_t)>("creat64");
    return fn(path, mode);
}

int truncate(const char *path, off_t length)
{
    check("truncate", AT_FDCWD, path, true);
    static auto fn = real<int (*)(const char *, off_t)>("truncate");
    return fn(path, length);
}

int mkdir(const char *path, mode_t mode)
{
    check("mkdir", AT_FDCWD, path);
    static auto fn = real<int (*)(const char *, mode_t)>("mkdir");
    return fn(path, mode);
}

int mkdirat(int dirfd, const char *path, mode_t mode)
{
    check("mkdirat", dirfd, path);
    static auto fn = real<int (*)(int, const char *, mode_t)>("mkdirat");
    return fn(dirfd, path, mode);
}

int mknod(const char *path, mode_t mode, dev_t dev)
{
    check("mknod", AT_FDCWD, path);
    static auto fn = real<int (*)(const char *, mode_t, dev_t)>("mknod");
    return fn(path, mode, dev);
}

int mknodat(int dirfd, const char *path, mode_t mode, dev_t dev)
{
    check("mknodat", dirfd, path);
    static auto fn = real<int (*)(int, const char *, mode_t, dev_t)>("mknodat");
    return fn(dirfd, path, mode, dev);
}

int rename(const char *from, const char *to)
{
    check("rename", AT_FDCWD, from);
    check("rename", AT_FDCWD, to);
    static auto fn = real<int (*)(const char *, const char *)>("rename");
    return fn(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    check("renameat", fromDir, from);
    check("renameat", toDir, to);
    static auto fn = real<int (*)(int, const char *, int, const char *)>("renameat");
    return fn(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    check("renameat2", fromDir, from);
    check("renameat2", toDir, to);
    static auto fn = real<int (*)(int, const char *, int, const char *, unsigned)>("renameat2");
    return fn(fromDir, from, toDir, to, flags);
}

int link(const char *from, const char *to)
{
    check("link", AT_FDCWD, to);
    static auto fn = real<int (*)(const char *, const char *)>("link");
    return fn(from, to);
}

int linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    // A hard link gives an existing file one more name; only where the name goes matters (this
    // is also how a file opened with O_TMPFILE gets its name).
    check("linkat", toDir, to);
    static auto fn = real<int (*)(int, const char *, int, const char *, int)>("linkat");
    return fn(fromDir, from, toDir, to, flags);
}

int symlink(const char *target, const char *path)
{
    if (gArmed && !tInside)
        refuseLink("symlink", target, path);
    static auto fn = real<int (*)(const char *, const char *)>("symlink");
    return fn(target, path);
}

int symlinkat(const char *target, int dirfd, const char *path)
{
    if (gArmed && !tInside)
        refuseLink("symlinkat", target, path);
    static auto fn = real<int (*)(const char *, int, const char *)>("symlinkat");
    return fn(target, dirfd, path);
}

int unlink(const char *path)
{
    check("unlink", AT_FDCWD, path);
    static auto fn = real<int (*)(const char *)>("unlink");
    return fn(path);
}

int unlinkat(int dirfd, const char *path, int flags)
{
    check("unlinkat", dirfd, path);
    static auto fn = real<int (*)(int, const char *, int)>("unlinkat");
    return fn(dirfd, path, flags);
}

int rmdir(const char *path)
{
    check("rmdir", AT_FDCWD, path);
    static auto fn = real<int (*)(const char *)>("rmdir");
    return fn(path);
}

int chmod(const char *path, mode_t mode)
{
    check("chmod", AT_FDCWD, path, true);
    static auto fn = real<int (*)(const char *, mode_t)>("chmod");
    return fn(path, mode);
}

int fchmodat(int dirfd, const char *path, mode_t mode, int flags)
{
    check("fchmodat", dirfd, path, !(flags & AT_SYMLINK_NOFOLLOW));
    static auto fn = real<int (*)(int, const char *, mode_t, int)>("fchmodat");
    return fn(dirfd, path, mode, flags);
}

} // extern "C"
