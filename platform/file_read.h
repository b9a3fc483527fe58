// Reading a whole input file without ever blocking on it or being flooded by it: only
// regular files of bounded size are read; FIFOs, devices, folders and sockets are refused.
#pragma once

#include <cstddef>
#include <string>

namespace tirrel {

// Far more than any information or settings file needs, small enough to hold in memory.
inline constexpr size_t kMaxReadBytes = size_t{1} << 20;

enum class ReadFailure {
    kNone,
    kMissing,     // nothing by that name (ENOENT)
    kNotRegular,  // a FIFO, device, folder or socket
    kTooLarge,    // more than the limit, whatever the size it claims
    kReadError,   // any other failure to open or read; see `error`
};

struct ReadStatus {
    ReadFailure failure = ReadFailure::kNone;
    int error = 0;  // errno of the failing call, 0 when there was none
    bool ok() const { return failure == ReadFailure::kNone; }
};

// Reads the file into `out` (cleared on failure). At most `limit` bytes are accepted; a
// longer file is refused without reading more than `limit` + 1 bytes of it.
[[nodiscard]] ReadStatus ReadFileBounded(const std::string& path, std::string& out,
                                         size_t limit = kMaxReadBytes);

// ReadFileBounded with the usual limit, reduced to success or failure.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out);

}  // namespace tirrel
