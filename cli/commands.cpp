#include "cli/commands.h"

namespace tirrel::cli {

std::span<const Command> AllCommands() {
    static constexpr Command kCommands[] = {
        {"encode",
         "[--version N] [--level L] (--hex HEX | --file PATH | TEXT) "
         "(--matrix | -o OUT.bmp [--cell-pitch P] [--quiet-zone Q])",
         RunEncode},
    };
    return kCommands;
}

}  // namespace tirrel::cli
