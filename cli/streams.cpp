#include "cli/streams.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/options.h"

namespace tirrel::cli {
namespace {

std::string MiB(size_t bytes) {
    return bytes % (size_t{1} << 20) == 0 ? std::to_string(bytes >> 20) + " MiB"
                                          : std::to_string(bytes) + " bytes";
}

// A pipe, a terminal or a file: read until its end, but never more than limit + 1 bytes.
int ReadStandardInput(std::string& out, size_t limit) {
    out.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n == 0) return kExitOk;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(kExitUsage,
                        std::string("cannot read standard input: ") + std::strerror(errno));
        }
        out.append(buf, size_t(n));
        if (out.size() > limit) {
            out.clear();
            return Fail(kExitUsage, "standard input holds more than " + MiB(limit));
        }
    }
}

}  // namespace

int ReadInput(const std::string& path, std::string& out, size_t limit) {
    if (path == kStandardStream) return ReadStandardInput(out, limit);
    const ReadStatus status = ReadFileBounded(path, out, limit);
    switch (status.failure) {
        case ReadFailure::kNone:
            return kExitOk;
        case ReadFailure::kMissing:
            return Fail(kExitUsage, "cannot read " + path + ": no such file");
        case ReadFailure::kNotRegular:
            return Fail(kExitUsage, "cannot read " + path + ": not a regular file");
        case ReadFailure::kTooLarge:
            return Fail(kExitUsage, "cannot read " + path + ": larger than " + MiB(limit));
        case ReadFailure::kReadError:
            break;
    }
    return Fail(kExitUsage, "cannot read " + path + ": " + std::strerror(status.error));
}

int ReadInputText(std::string& out) {
    if (int rc = ReadStandardInput(out, kMaxReadBytes)) return rc;
    if (out.empty() || out.back() != '\n') return kExitOk;
    out.pop_back();
    if (!out.empty() && out.back() == '\r') out.pop_back();
    return kExitOk;
}

bool StdoutIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool WriteStdout(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

}  // namespace tirrel::cli
