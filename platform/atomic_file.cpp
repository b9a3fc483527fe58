#include "platform/atomic_file.h"

#include <fcntl.h>
#include <signal.h>  // NOLINT(modernize-deprecated-headers): POSIX's sigtimedwait, not C's
#include <sys/stat.h>
#include <time.h>  // NOLINT(modernize-deprecated-headers): POSIX's clock_gettime, not C's
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace tirrel {
namespace {

// Returns -1 with errno set to the cause found earlier, after clean-up calls changed it.
int Fail(int error) {
    errno = error;
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Makes a completed rename durable; a failure here does not undo the write.
void SyncFolder(const std::string& path) {
    int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

std::optional<std::string> RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string out = real;
    std::free(real);
    return out;
}

// Where the symlink `at` points, as a path that no longer depends on the link's folder.
std::optional<std::string> LinkTarget(const std::string& at) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink(at.c_str(), buf, sizeof buf);
    if (n < 0) return std::nullopt;
    if (static_cast<size_t>(n) == sizeof buf) {
        errno = ENAMETOOLONG;
        return std::nullopt;
    }
    std::string link(buf, static_cast<size_t>(n));
    if (link.empty() || link.front() != '/') {
        std::string folder = FolderOf(at);
        link = (folder == "/" ? folder : folder + "/") + link;
    }
    return link;
}

// The name a dangling symlink chain ends in, so the write creates the file the link names
// instead of putting a plain file where the link was.
std::optional<std::string> DanglingTarget(std::string at) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0) {
            if (errno == ENOENT) return at;
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) return at;
        std::optional<std::string> next = LinkTarget(at);
        if (!next) return std::nullopt;
        at = std::move(*next);
    }
    errno = ELOOP;
    return std::nullopt;
}

// Like mkstemp, but with the mode the file is created with: a new file gets 0666 less the
// umask (and any default ACL) as every created file does, without touching the process-wide
// umask that other threads rely on.
int CreateTemporary(const std::string& target, mode_t mode, std::string& name) {
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    uint64_t seed = static_cast<uint64_t>(now.tv_nsec) ^ (static_cast<uint64_t>(::getpid()) << 32) ^
                    reinterpret_cast<uintptr_t>(&name);
    // The target's name with seven characters added must still be a valid name: a long one
    // lends only its start.
    constexpr size_t kNameMax = 255 - 7;
    const size_t slash = target.rfind('/') + 1;  // npos + 1 == 0: no folder part
    const std::string stem = target.substr(0, slash + std::min(target.size() - slash, kNameMax));
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = stem + '.';
        for (int i = 0; i < 6; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            name += kDigits[(seed >> 33) % (sizeof kDigits - 1)];
        }
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return Fail(EEXIST);
}

// While alive, this thread's writes fail with an error instead of a signal ending the
// program: EPIPE when a reader goes away, EFBIG at the file-size limit (so a temporary file
// is still removed). A signal raised meanwhile is taken back before unblocking.
class WriteSignalsBlocked {
public:
    WriteSignalsBlocked() {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGPIPE);
        sigaddset(&signals_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signals_, &old_);
    }
    ~WriteSignalsBlocked() {
        int saved = errno;
        timespec zero{};
        while (sigtimedwait(&signals_, nullptr, &zero) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
        errno = saved;
    }
    WriteSignalsBlocked(const WriteSignalsBlocked&) = delete;
    WriteSignalsBlocked& operator=(const WriteSignalsBlocked&) = delete;

private:
    sigset_t signals_{};
    sigset_t old_{};
};

// Gives the new file the old one's owner and group; only root (or the owner, for a group
// it belongs to) may, so a refusal leaves ours.
bool KeepOwner(int fd, const struct stat& old) {
    if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) return true;
    return ::fchown(fd, old.st_uid, old.st_gid) == 0 || errno == EPERM;
}

enum class Flush { kEach, kLater };

// The temporary file beside `target`, renamed onto it. `old` is the file being replaced.
int ReplaceFile(const std::string& target, const struct stat* old, std::string_view bytes,
                Flush flush) {
    std::string name;
    int fd = CreateTemporary(target, old ? 0600 : 0666, name);
    if (fd < 0) return -1;
    // The owner first: a change of owner clears set-user-ID bits the mode then restores.
    bool ok = !old || (KeepOwner(fd, *old) && ::fchmod(fd, old->st_mode & 07777) == 0);
    {
        WriteSignalsBlocked guard;
        ok = ok && WriteAll(fd, bytes) && (flush == Flush::kLater || ::fsync(fd) == 0);
    }
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(name.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(name.c_str());
        return Fail(error);
    }
    if (flush == Flush::kEach) SyncFolder(target);
    return 0;
}

// Closes `fd` and returns 0 when `ok`, else -1 with the errno of the failure.
int Finish(int fd, bool ok) {
    int error = errno;
    if (::close(fd) != 0 && ok) return -1;
    return ok ? 0 : Fail(error);
}

// Rewrites a file that has other names in place, so they all keep seeing one file.
int WriteInPlace(const std::string& path, std::string_view bytes) {
    // O_NONBLOCK: should a FIFO take the name meanwhile, opening it must not wait.
    int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Finish(fd, false);
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(EAGAIN);  // swapped meanwhile; let the caller try again
    }
    WriteSignalsBlocked guard;
    // Reserve the space first: a full disk or a size limit then fails before a byte changes.
    // Filesystems without reservation go on, and may fail midway. (Not posix_fallocate: its
    // fallback reads the file, which a write-only descriptor cannot.)
    if (!bytes.empty() && ::fallocate(fd, 0, 0, static_cast<off_t>(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return Finish(fd, false);
    bool ok = WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(fd) == 0;
    return Finish(fd, ok);
}

// A device, FIFO or terminal: opened and written as it is. O_NONBLOCK makes a FIFO without a
// reader fail (ENXIO) instead of waiting for one; once open, writes may wait as usual.
int WriteDirectly(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Finish(fd, false);
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Fail(EAGAIN);  // swapped meanwhile; let the caller try again
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Finish(fd, false);
    WriteSignalsBlocked guard;
    return Finish(fd, WriteAll(fd, bytes));
}

// The descriptor a name like /dev/stdout, /dev/fd/3 or /proc/self/fd/1 stands for, found
// along its chain of links, or -1. Such a name must be written through the descriptor: opened
// anew or resolved it names the file behind it, which would lose the shell's offset (>>) or
// be replaced, and needs rights the descriptor does not.
int DescriptorNamed(std::string at) {
    const std::string pid = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (int hops = 0; hops < 40; ++hops) {
        if (at == "/dev/stdout") return 1;
        if (at == "/dev/stderr") return 2;
        for (const std::string& folder : {std::string("/dev/fd/"), std::string("/proc/self/fd/"),
                                          std::string("/proc/thread-self/fd/"), pid}) {
            if (at.size() <= folder.size() || at.compare(0, folder.size(), folder) != 0) continue;
            const std::string number = at.substr(folder.size());
            if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 9)
                return -1;
            return std::stoi(number);
        }
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return -1;
        std::optional<std::string> next = LinkTarget(at);
        if (!next) return -1;
        at = std::move(*next);
    }
    return -1;
}

// Writes at the descriptor's own offset (appending where it appends), without truncating.
int WriteToDescriptor(int fd, std::string_view bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    WriteSignalsBlocked guard;
    return WriteAll(fd, bytes) ? 0 : -1;
}

int Write(const std::string& path, std::string_view bytes, Flush flush) {
    if (path.empty()) return Fail(ENOENT);
    if (int fd = DescriptorNamed(path); fd >= 0) return WriteToDescriptor(fd, bytes);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return -1;
        std::optional<std::string> target = DanglingTarget(path);
        return target ? ReplaceFile(*target, nullptr, bytes, flush) : -1;
    }
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(st.st_mode)) return WriteDirectly(path, bytes);
    if (st.st_nlink > 1) return WriteInPlace(path, bytes);
    std::optional<std::string> real = RealPath(path);
    return real ? ReplaceFile(*real, &st, bytes, flush) : -1;
}

}  // namespace

int WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return Write(path, bytes, Flush::kEach);
}

int WriteFileAtomicallyUnsynced(const std::string& path, std::string_view bytes) {
    return Write(path, bytes, Flush::kLater);
}

int SyncFileSystem(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    const bool ok = ::syncfs(fd) == 0;
    return Finish(fd, ok);
}

std::string CurrentDirectoryFile(std::string_view name) {
    char buf[PATH_MAX];
    std::string dir = ::getcwd(buf, sizeof buf) ? buf : ".";
    if (dir != "/")
        dir += '/';
    else
        dir = "/";
    return dir + std::string(name);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace tirrel
