// The commands of tirrel-cli. Each takes the arguments after its name and returns the
// process exit code: 0 done, 1 refused (the core said no), 2 bad usage or bad input.
#pragma once

#include <span>
#include <string_view>

namespace tirrel::cli {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

struct Command {
    std::string_view name;
    std::string_view usage;  // the arguments, shown after "tirrel-cli <name> "
    int (*run)(std::span<const std::string_view> args);
};

// All commands, in the order the help lists them.
std::span<const Command> AllCommands();

int RunEncode(std::span<const std::string_view> args);
int RunMake(std::span<const std::string_view> args);
int RunLoad(std::span<const std::string_view> args);

}  // namespace tirrel::cli
