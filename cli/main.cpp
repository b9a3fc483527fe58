// tirrel-cli <command> [arguments]: dispatches to the command table.
#include <cstdio>
#include <exception>
#include <new>
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
    std::fputs(
        "IMAGE: -o FILE picks the format by its extension (.bmp .png .svg .pdf .eps, .txt "
        "for\n"
        "  half blocks); --format bmp|png|svg|pdf|eps|utf8|ascii overrides it, and utf8 "
        "or\n"
        "  ascii without -o print to stdout. --cell-pitch P (pixels a module, default 4) "
        "and\n"
        "  --quiet-zone Q (modules, default 4); --fg and --bg RRGGBB or RRGGBBAA; "
        "--size-mm MM\n"
        "  for PDF and EPS (default 40).\n",
        to);
}

int Run(int argc, char** argv) {
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

}  // namespace

// Whatever a command did not handle ends here, reported in one line. Exit 1: the work
// failed, not the request (running out of memory is no usage error).
int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("tirrel-cli: out of memory\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tirrel-cli: %s\n", e.what());
    } catch (...) {
        std::fputs("tirrel-cli: unexpected failure\n", stderr);
    }
    return tirrel::cli::kExitRefused;
}
