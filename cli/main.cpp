// tirrel-cli <command> [arguments]: dispatches to the command table.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace {

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage:\n");
    for (const tirrel::cli::Command& c : tirrel::cli::AllCommands())
        std::fprintf(to, "  tirrel-cli %.*s %.*s\n", int(c.name.size()), c.name.data(),
                     int(c.usage.size()), c.usage.data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return tirrel::cli::kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return tirrel::cli::kExitOk;
    }
    const std::vector<std::string_view> args(argv + 2, argv + argc);
    for (const tirrel::cli::Command& c : tirrel::cli::AllCommands())
        if (c.name == name) return c.run(args);
    std::fprintf(stderr, "tirrel-cli: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return tirrel::cli::kExitUsage;
}
