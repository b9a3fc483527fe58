// Standard input and output as the data streams of a pipeline: "-" names them, input is
// bounded like every file the program reads, and binary data never goes to a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_read.h"

namespace tirrel::cli {

inline constexpr std::string_view kStandardStream = "-";

// The whole of standard input, or of the file `path` ("-" for standard input), when it
// holds at most `limit` bytes. Returns kExitOk, or kExitUsage after saying why on stderr.
int ReadInput(const std::string& path, std::string& out, size_t limit = kMaxReadBytes);

// Standard input as typed text: one final line break (LF or CR LF) is not part of it.
int ReadInputText(std::string& out);

[[nodiscard]] bool StdoutIsTerminal();
[[nodiscard]] bool StderrIsTerminal();

// Writes all of `bytes` to standard output; false when it could not.
[[nodiscard]] bool WriteStdout(std::string_view bytes);

}  // namespace tirrel::cli
