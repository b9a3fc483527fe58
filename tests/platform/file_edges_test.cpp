// Files as a user or an attacker hands them over: odd paths, huge sizes, hostile filesystems.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/file_read.h"
#include "platform/ini.h"
#include "platform/temp_dir.h"

namespace tirrel {
namespace {

using testing::TempDir;

// A read or write that waits for ever kills the test (SIGALRM) instead of stalling the run.
class HangGuard {
public:
    HangGuard() { ::alarm(20); }
    ~HangGuard() { ::alarm(0); }
};

std::string Slurp(const std::string& path) {
    std::string bytes;
    (void)ReadWholeFile(path, bytes);  // no file reads as nothing
    return bytes;
}

struct stat Lstat(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

int Entries(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

void Put(const std::string& path, const std::string& bytes) {
    ASSERT_EQ(WriteFileAtomically(path, bytes), 0) << path;
}

void MakeSocket(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

// ---- paths ----

TEST(ReadPaths, OnlyRegularFilesAreReadAndNothingWaits) {
    HangGuard guard;  // a FIFO without a writer blocks a plain open for ever
    TempDir dir;
    Put(dir.File("file"), "bytes");
    ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("file", dir.File("link").c_str()), 0);
    MakeSocket(dir.File("sock"));
    const struct {
        const char* name;
        ReadFailure failure;
    } cases[] = {
        {"file", ReadFailure::kNone},
        {"link", ReadFailure::kNone},
        {"missing", ReadFailure::kMissing},
        {"folder", ReadFailure::kNotRegular},
        {"fifo", ReadFailure::kNotRegular},
        {"sock", ReadFailure::kNotRegular},
        {"file/below", ReadFailure::kReadError},
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        ReadStatus status = ReadFileBounded(dir.File(c.name), out);
        EXPECT_EQ(static_cast<int>(status.failure), static_cast<int>(c.failure)) << c.name;
        EXPECT_EQ(out, c.failure == ReadFailure::kNone ? "bytes" : "") << c.name;
    }
    // Settings or information files of these kinds are never written over.
    for (const char* name : {"fifo", "sock", "folder"})
        EXPECT_FALSE(LoadIniFileForEdit(dir.File(name))) << name;
    EXPECT_TRUE(S_ISFIFO(Lstat(dir.File("fifo")).st_mode));
    EXPECT_TRUE(S_ISSOCK(Lstat(dir.File("sock")).st_mode));
}

TEST(WritePaths, DeviceNodesAreWrittenDirectlyNeverReplaced) {
    TempDir dir;
    const std::string null = dir.File("null"), zero = dir.File("zero");
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod(zero.c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0)
        GTEST_SKIP() << "mknod is not permitted here";
    int fd = ::open(null.c_str(), O_WRONLY);
    if (fd < 0) GTEST_SKIP() << "device nodes do not open here (nodev)";
    ::close(fd);
    HangGuard guard;
    for (const std::string& node : {null, zero}) {
        std::string out;
        EXPECT_EQ(static_cast<int>(ReadFileBounded(node, out).failure),
                  static_cast<int>(ReadFailure::kNotRegular));
    }
    ASSERT_EQ(::symlink("null", dir.File("out.bmp").c_str()), 0);
    for (const std::string& path : {null, dir.File("out.bmp")}) {
        EXPECT_EQ(WriteFileAtomically(path, "discarded"), 0) << path;
        struct stat st = Lstat(null);
        EXPECT_TRUE(S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 3)) << path;
    }
    EXPECT_TRUE(S_ISLNK(Lstat(dir.File("out.bmp")).st_mode));
    EXPECT_FALSE(LoadIniFileForEdit(zero));
    EXPECT_EQ(Entries(dir.path()), 3);  // no temporary file left beside them
}

TEST(WritePaths, AFifoIsWrittenOnlyToAReaderAndStaysAFifo) {
    HangGuard guard;
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    errno = 0;
    EXPECT_EQ(WriteFileAtomically(fifo, "nobody reads"), -1);
    EXPECT_EQ(errno, ENXIO);

    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(WriteFileAtomically(fifo, "through"), 0);
    char buf[16] = {};
    EXPECT_EQ(::read(reader, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "through");
    ::close(reader);
    // A reader that goes away mid-write fails the write; it must not kill the program. (A
    // fresh reader: the old one sees the last writer's hang-up and would not wait for data.)
    reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::thread quitter([reader] {
        pollfd p{reader, POLLIN, 0};
        ::poll(&p, 1, -1);
        char c;
        ::read(reader, &c, 1);
        ::close(reader);
    });
    errno = 0;
    EXPECT_EQ(WriteFileAtomically(fifo, std::string(1 << 20, 'x')), -1);
    EXPECT_EQ(errno, EPIPE);
    quitter.join();
    EXPECT_TRUE(S_ISFIFO(Lstat(fifo).st_mode));
    EXPECT_EQ(Entries(dir.path()), 1);
}

TEST(WritePaths, SymlinksStayLinksAndTheFileTheyNameChanges) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0700), 0);
    Put(dir.File("real/Sembrano.ini"), "old");
    ASSERT_EQ(::symlink("real/Sembrano.ini", dir.File("link.ini").c_str()), 0);
    ASSERT_EQ(::symlink("link.ini", dir.File("chain.ini").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("real/new.ini").c_str(), dir.File("dangling.ini").c_str()), 0);
    const struct {
        const char* link;
        const char* target;
    } cases[] = {
        {"link.ini", "real/Sembrano.ini"},
        {"chain.ini", "real/Sembrano.ini"},
        {"dangling.ini", "real/new.ini"},
    };
    for (const auto& c : cases) {
        const std::string bytes = std::string("written via ") + c.link;
        ASSERT_EQ(WriteFileAtomically(dir.File(c.link), bytes), 0) << c.link;
        EXPECT_TRUE(S_ISLNK(Lstat(dir.File(c.link)).st_mode)) << c.link;
        EXPECT_EQ(Slurp(dir.File(c.target)), bytes) << c.link;
    }
    std::optional<IniDocument> doc = LoadIniFileForEdit(dir.File("link.ini"));
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->Set("S", "K", "v"), 0);
    ASSERT_EQ(SaveIniFile(dir.File("link.ini"), *doc), 0);
    EXPECT_EQ(LoadIniFile(dir.File("real/Sembrano.ini"))->Get("S", "K"), "v");
    EXPECT_EQ(Entries(dir.path()), 4);
    EXPECT_EQ(Entries(dir.File("real")), 2);
}

TEST(WritePaths, AFileKeepsItsHardLinksModeAndOwner) {
    TempDir dir;
    ScopedUmask mask(022);
    const std::string a = dir.File("a"), b = dir.File("b");
    Put(a, "old");
    ASSERT_EQ(::link(a.c_str(), b.c_str()), 0);
    for (const auto& [path, bytes] : {std::pair{a, "grown, new bytes"}, std::pair{b, "cut"}}) {
        ASSERT_EQ(WriteFileAtomically(path, bytes), 0);
        EXPECT_EQ(Lstat(a).st_ino, Lstat(b).st_ino);
        EXPECT_EQ(Slurp(a), bytes);
        EXPECT_EQ(Slurp(b), bytes);
    }

    // Neither a fresh temporary file's 0600 nor the umask's 0644: the file's own mode.
    const std::string kept = dir.File("kept");
    Put(kept, "1");
    ASSERT_EQ(::chmod(kept.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(kept.c_str(), 1234, 5678), 0);
    }
    Put(kept, "2");
    struct stat st = Lstat(kept);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    Put(dir.File("fresh"), "new");
    EXPECT_EQ(Lstat(dir.File("fresh")).st_mode & 07777, 0644u);

    errno = 0;
    EXPECT_EQ(WriteFileAtomically(dir.path(), "x"), -1);
    EXPECT_EQ(errno, EISDIR);
    EXPECT_EQ(Entries(dir.path()), 4);
}

TEST(WritePaths, ADescriptorsNameIsWrittenThroughTheDescriptor) {
    // As `-o /dev/stdout >> log` does: the bytes are appended, the log is neither truncated
    // nor replaced, and no folder permission is needed.
    TempDir dir;
    const std::string log = dir.File("log");
    Put(log, "old\n");
    const ino_t inode = Lstat(log).st_ino;
    int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const std::string n = std::to_string(fd);
    ASSERT_EQ(::symlink(("/proc/self/fd/" + n).c_str(), dir.File("out").c_str()), 0);
    std::string expected = "old\n";
    for (const std::string& path : {"/dev/fd/" + n, "/proc/self/fd/" + n, dir.File("out")}) {
        EXPECT_EQ(WriteFileAtomically(path, "new\n"), 0) << path;
        expected += "new\n";
    }
    ::close(fd);
    EXPECT_EQ(Slurp(log), expected);
    EXPECT_EQ(Lstat(log).st_ino, inode);
    EXPECT_EQ(WriteFileAtomically("/dev/fd/" + n, "x"), -1);  // closed now
}

TEST(WritePaths, TheLongestNameStillHasRoomForItsTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File(std::string(255, 'n'));
    Put(path, "first");
    Put(path, "second");
    EXPECT_EQ(Slurp(path), "second");
    EXPECT_EQ(Entries(dir.path()), 1);
}

// ---- sizes ----

TEST(ReadSizes, AtMostOneMebibyteIsRead) {
    TempDir dir;
    const struct {
        off_t size;
        ReadFailure failure;
    } cases[] = {
        {0, ReadFailure::kNone},
        {kMaxReadBytes, ReadFailure::kNone},
        {kMaxReadBytes + 1, ReadFailure::kTooLarge},
        {off_t{1} << 40, ReadFailure::kTooLarge},  // sparse: refused without reading
    };
    const std::string path = dir.File("f");
    for (const auto& c : cases) {
        Put(path, "");
        ASSERT_EQ(::truncate(path.c_str(), c.size), 0);
        std::string out;
        ReadStatus status = ReadFileBounded(path, out);
        EXPECT_EQ(static_cast<int>(status.failure), static_cast<int>(c.failure)) << c.size;
        EXPECT_EQ(out.size(), status.ok() ? static_cast<size_t>(c.size) : 0) << c.size;
    }
    // Too large to edit is too large to write over.
    EXPECT_FALSE(LoadIniFileForEdit(path));
    EXPECT_EQ(Lstat(path).st_size, off_t{1} << 40);
    // A file claiming 0 bytes is bounded by what it really holds.
    std::string out;
    EXPECT_EQ(static_cast<int>(ReadFileBounded("/proc/self/status", out, 16).failure),
              static_cast<int>(ReadFailure::kTooLarge));
}

// ---- hostile filesystems ----

// What a child process found: 0 when every failed write left the old files as they were.
int FailedWritesKeepOldFiles(const std::string& dir, void (*fault)(const std::string&)) {
    const std::string one = dir + "/one", two = dir + "/two", twin = dir + "/twin";
    if (WriteFileAtomically(one, "old one") != 0 || WriteFileAtomically(two, "old two") != 0 ||
        ::link(two.c_str(), twin.c_str()) != 0)
        return 1;
    fault(dir);
    const int entries = Entries(dir);
    const std::string big(8192, 'n');
    if (WriteFileAtomically(one, big) != -1) return 2;
    if (WriteFileAtomically(twin, big) != -1) return 3;  // rewritten in place
    if (Slurp(one) != "old one") return 4;
    if (Slurp(two) != "old two") return 5;
    if (Entries(dir) != entries) return 6;  // a temporary file left behind
    return 0;
}

void LimitFileSize(const std::string&) {
    rlimit limit{64, 64};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

void MakeReadOnly(const std::string& dir) {
    ::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
}

void FillUp(const std::string& dir) {
    int fd = ::open((dir + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
    char block[4096] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    ::close(fd);
}

constexpr int kCannotMount = 77;

// Runs the check in a child (the limits and mounts stay there), on a small tmpfs of its own
// mount namespace when `tmpfs` is set.
int InChild(const std::string& dir, bool tmpfs, void (*fault)(const std::string&)) {
    pid_t pid = ::fork();
    if (pid == 0) {
        if (tmpfs && (::unshare(CLONE_NEWNS) != 0 ||
                      ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                      ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=64k") != 0))
            ::_exit(kCannotMount);
        ::_exit(FailedWritesKeepOldFiles(dir, fault));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(WriteFilesystems, AFailedWriteLeavesTheOldFileAsItWas) {
    const struct {
        const char* name;
        bool tmpfs;
        void (*fault)(const std::string&);
    } cases[] = {
        {"file size limit", false, LimitFileSize},
        {"read-only folder", true, MakeReadOnly},
        {"full filesystem", true, FillUp},
    };
    bool skipped = false;
    for (const auto& c : cases) {
        TempDir dir;
        int result = InChild(dir.path(), c.tmpfs, c.fault);
        if (result == kCannotMount) {
            skipped = true;
            continue;
        }
        EXPECT_EQ(result, 0) << c.name;
    }
    if (skipped) GTEST_SKIP() << "no private tmpfs mounts here; the size limit case ran";
}

}  // namespace
}  // namespace tirrel
