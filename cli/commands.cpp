#include "cli/commands.h"

namespace tirrel::cli {

std::span<const Command> AllCommands() {
    static constexpr Command kCommands[] = {
        {"encode",
         "[--version N] [--level L] (--hex HEX | --file PATH | TEXT) "
         "(--matrix | IMAGE)",
         RunEncode},
        {"make",
         "--dialect 100|101|102 --tab INDEX [KEY=VALUE ...] [--version N] [--level L] "
         "[--payload-hex] [--matrix] [IMAGE] [--save-sig OUT.sig]",
         RunMake},
        {"load", "FILE.sig [--version N] [--level L] [--payload-hex] [--matrix] [IMAGE]", RunLoad},
    };
    return kCommands;
}

}  // namespace tirrel::cli
