// tirrel-cli <command> [arguments]: the command table behind one CLI11 parser.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"

namespace {

using tirrel::cli::kExitUsage;

void DefineApp(CLI::App& app, std::vector<tirrel::cli::Runner>& runners) {
    app.set_version_flag("--version", tirrel::cli::VersionText(),
                         "print the version and what "
                         "the encoder supports");
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 done, 1 the payload cannot be encoded (or a file cannot be read,\n"
        "loaded or written), 2 bad usage or bad input. Run tirrel-cli COMMAND --help for\n"
        "a command's options.\n");
    for (const tirrel::cli::Command& c : tirrel::cli::AllCommands()) {
        CLI::App* command = app.add_subcommand(std::string(c.name), std::string(c.summary));
        runners.push_back(c.define(*command));
        command->footer(command->get_footer() + "Example:\n  " + std::string(c.example) + "\n");
    }
}

// A parse that ends early: help and the version to stdout, a refusal as one line on stderr.
int Report(const CLI::App& app, const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) {
        const std::string name = e.get_name();
        if (name == "CallForVersion") {
            std::fputs(e.what(), stdout);
        } else {
            const CLI::App* shown = &app;
            std::string prefix;
            for (const CLI::App* sub : app.get_subcommands()) {
                shown = sub;
                prefix = "tirrel-cli";
            }
            std::fputs(shown
                           ->help(prefix, name == "CallForAllHelp" ? CLI::AppFormatMode::All
                                                                   : CLI::AppFormatMode::Normal)
                           .c_str(),
                       stdout);
        }
        return tirrel::cli::kExitOk;
    }
    std::string hint = "tirrel-cli --help";
    for (const CLI::App* sub : app.get_subcommands())
        hint = "tirrel-cli " + sub->get_name() + " --help";
    std::fprintf(stderr, "tirrel-cli: %s (see %s)\n", e.what(), hint.c_str());
    return kExitUsage;
}

int Run(int argc, char** argv) {
    CLI::App app("tirrel-cli: QR Codes of the carriers' payload conventions", "tirrel-cli");
    std::vector<tirrel::cli::Runner> runners;
    DefineApp(app, runners);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return Report(app, e);
    }
    const std::vector<CLI::App*> chosen = app.get_subcommands();
    const auto commands = tirrel::cli::AllCommands();
    for (size_t i = 0; i < commands.size(); ++i)
        if (chosen.front()->get_name() == commands[i].name) return runners[i]();
    return kExitUsage;  // require_subcommand(1) leaves none unchosen
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
