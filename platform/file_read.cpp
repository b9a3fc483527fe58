#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tirrel {
namespace {

ReadStatus Failed(ReadFailure failure, int error) {
    return ReadStatus{failure, error};
}

ReadStatus OpenFailure(int error) {
    return Failed(error == ENOENT ? ReadFailure::kMissing : ReadFailure::kReadError, error);
}

ReadStatus CheckRegular(const struct stat& st, size_t limit) {
    if (!S_ISREG(st.st_mode)) return Failed(ReadFailure::kNotRegular, 0);
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > limit)
        return Failed(ReadFailure::kTooLarge, 0);
    return {};
}

// Reads up to `limit` + 1 bytes: the size a file claims is only a hint (it may grow while
// being read, and /proc-like files claim 0).
ReadStatus ReadBounded(int fd, size_t limit, size_t size_hint, std::string& out) {
    out.reserve(std::min(size_hint, limit) + 1);
    char buf[65536];
    while (out.size() <= limit) {
        size_t want = std::min(sizeof buf, limit + 1 - out.size());
        ssize_t n = ::read(fd, buf, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failed(ReadFailure::kReadError, errno);
        }
        if (n == 0) return {};
        out.append(buf, static_cast<size_t>(n));
    }
    return Failed(ReadFailure::kTooLarge, 0);
}

}  // namespace

ReadStatus ReadFileBounded(const std::string& path, std::string& out, size_t limit) {
    out.clear();
    // Look before opening: opening some devices does something by itself (a tape rewinds, a
    // watchdog arms). The check after opening closes the race with a swapped name.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return OpenFailure(errno);
    if (ReadStatus s = CheckRegular(st, limit); !s.ok()) return s;
    // O_NONBLOCK: should a FIFO take the name meanwhile, opening it must not wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return OpenFailure(errno);
    ReadStatus status =
        ::fstat(fd, &st) != 0 ? Failed(ReadFailure::kReadError, errno) : CheckRegular(st, limit);
    if (status.ok()) status = ReadBounded(fd, limit, static_cast<size_t>(st.st_size), out);
    ::close(fd);
    if (!status.ok()) out.clear();
    return status;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    return ReadFileBounded(path, out).ok();
}

}  // namespace tirrel
