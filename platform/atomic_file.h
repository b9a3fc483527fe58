// Writing a whole file so that it is either completely replaced or left as it was: the
// bytes go to a temporary file beside the real target, which is then renamed into place.
// What the path names is never replaced by something else: a symlink stays a link (its
// target is written), a device or FIFO is written directly, a hard link stays linked.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_read.h"

namespace tirrel {

// Returns 0 when `path` now holds exactly `bytes`, -1 otherwise with errno telling why
// (the old file, if any, is untouched and no temporary file is left behind).
//
// - A symlink is followed to the file it names, also when that does not exist yet.
// - A name for an open descriptor (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is written
//   through that descriptor, at its offset, whatever it is open on.
// - A target that exists and is not a regular file (a device, a FIFO, standard output) is
//   opened and written directly, never replaced; a FIFO without a reader is refused
//   (ENXIO) rather than waited for. A folder is refused (EISDIR).
// - A regular file with more than one hard link is rewritten in place, so every name keeps
//   seeing the same file. That write is not atomic: a failure after space was reserved can
//   leave it partly rewritten. Splitting the link instead would silently leave the other
//   names with the old bytes for ever, which is the worse loss.
// - A replaced file keeps its permission bits and, where allowed, its owner and group.
// - A broken pipe or the file-size limit fails the write (EPIPE, EFBIG) instead of ending
//   the program.
[[nodiscard]] int WriteFileAtomically(const std::string& path, std::string_view bytes);

// WriteFileAtomically for one of many files written in a row: the same rename into place, so
// no reader ever sees a partial file under the name, but no flush to the disk per file. The
// files are durable once SyncFileSystem has returned for their folder.
[[nodiscard]] int WriteFileAtomicallyUnsynced(const std::string& path, std::string_view bytes);

// Flushes everything written to the file system that holds `path` (one syncfs). Returns 0,
// or -1 with errno.
[[nodiscard]] int SyncFileSystem(const std::string& path);

// The process's current directory followed by "/" and `name`.
[[nodiscard]] std::string CurrentDirectoryFile(std::string_view name);

[[nodiscard]] bool FileExists(const std::string& path);

}  // namespace tirrel
