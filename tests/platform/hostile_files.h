// What a user or an attacker can put where a small text file is expected: a FIFO, a device
// node, a folder, a file far too large. Each is made in a temporary folder, and tells
// afterwards whether it was replaced or written to.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "platform/file_read.h"

namespace tirrel::testing {

enum class HostileKind { kFifo, kDevice, kFolder, kHuge };

struct HostileCase {
    const char* name;
    HostileKind kind;
};

inline void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

inline constexpr HostileCase kHostileCases[] = {
    {"Fifo", HostileKind::kFifo},
    {"Device", HostileKind::kDevice},
    {"Folder", HostileKind::kFolder},
    {"Huge", HostileKind::kHuge},
};

class HostileFile {
public:
    // `text` starts the huge file, so it would be read as such if its size were not refused.
    HostileFile(HostileKind kind, std::string path, const std::string& text)
        : kind_(kind), path_(std::move(path)) {
        switch (kind) {
            case HostileKind::kFifo:
                made_ = ::mkfifo(path_.c_str(), 0600) == 0;
                // A reader held open, so whatever is written into the FIFO can be seen.
                reader_ = made_ ? ::open(path_.c_str(), O_RDONLY | O_NONBLOCK) : -1;
                break;
            case HostileKind::kDevice:  // like /dev/zero: endless to read, swallows writes
                made_ = ::mknod(path_.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
                break;
            case HostileKind::kFolder:
                made_ = ::mkdir(path_.c_str(), 0700) == 0;
                break;
            case HostileKind::kHuge:
                std::ofstream(path_, std::ios::binary) << text << std::string(kMaxReadBytes, '\n');
                made_ = true;
                break;
        }
        before_ = State();
        ::alarm(20);  // a read or write that waits for ever kills the test instead of the run
    }
    ~HostileFile() {
        ::alarm(0);
        if (reader_ >= 0) ::close(reader_);
    }
    HostileFile(const HostileFile&) = delete;
    HostileFile& operator=(const HostileFile&) = delete;

    // False where making it is not permitted (a device node needs the privilege to).
    bool made() const { return made_; }

    // The same node as before, with the same bytes, and nothing written into the FIFO.
    bool Unchanged() const {
        char byte = 0;
        if (reader_ >= 0 && ::read(reader_, &byte, 1) > 0) return false;
        return State() == before_;
    }

private:
    std::string State() const {
        struct stat st {};
        if (::lstat(path_.c_str(), &st) != 0) return "gone";
        std::string state = std::to_string(st.st_ino) + ":" + std::to_string(st.st_mode) + ":" +
                            std::to_string(st.st_rdev) + ":" + std::to_string(st.st_size);
        if (kind_ == HostileKind::kHuge) {
            std::ifstream in(path_, std::ios::binary);
            state.append(std::istreambuf_iterator<char>(in), {});
        }
        return state;
    }

    HostileKind kind_;
    std::string path_;
    bool made_ = false;
    int reader_ = -1;
    std::string before_;
};

}  // namespace tirrel::testing
