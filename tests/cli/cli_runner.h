// Runs the built tirrel-cli with arguments, capturing its exit code and both output streams.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/temp_dir.h"

namespace tirrel {

struct CliRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

inline std::string Quote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The streams are captured in files of `dir`.
inline CliRun RunCli(const std::vector<std::string>& args, const testing::TempDir& dir) {
    std::string cmd = Quote(TIRREL_CLI_PATH);
    for (const std::string& a : args)
        cmd += " " + Quote(a);
    const std::string out = dir.File("stdout"), err = dir.File("stderr");
    cmd += " </dev/null >" + Quote(out) + " 2>" + Quote(err);
    CliRun r;
    const int status = std::system(cmd.c_str());
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    (void)ReadWholeFile(out, r.out);  // no output reads as nothing
    (void)ReadWholeFile(err, r.err);
    return r;
}

}  // namespace tirrel
