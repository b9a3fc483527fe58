// Writing a whole file so that it is either completely replaced or left as it was:
// the bytes go to a temporary file in the same folder, which is then renamed into place.
#pragma once

#include <string>
#include <string_view>

namespace tirrel {

// Returns 0 when `path` now holds exactly `bytes`, -1 otherwise (the old file, if any,
// is untouched and no temporary file is left behind).
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file. Returns false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// The process's current directory followed by "/" and `name`.
std::string CurrentDirectoryFile(std::string_view name);

bool FileExists(const std::string& path);

}  // namespace tirrel
