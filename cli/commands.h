// The commands of tirrel-cli. Each registers its options on its own CLI11 subcommand and hands
// back what runs once they are parsed; that returns the process exit code: 0 done, 1 refused
// (the core said no, or a file could not be read or written), 2 bad usage or bad input.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace CLI {
class App;
}

namespace tirrel::cli {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

using Runner = std::function<int()>;

struct Command {
    std::string_view name;
    std::string_view summary;  // one line in the overall help
    std::string_view example;  // shown at the end of the command's help
    Runner (*define)(CLI::App& command);
};

// What --version prints: the program, its version and what the encoder supports.
std::string VersionText();

// All commands, in the order the help lists them.
std::span<const Command> AllCommands();

Runner DefineEncode(CLI::App& command);
Runner DefineMake(CLI::App& command);
Runner DefineLoad(CLI::App& command);
Runner DefineBatch(CLI::App& command);
Runner DefineDecode(CLI::App& command);

}  // namespace tirrel::cli
