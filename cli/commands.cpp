#include "cli/commands.h"

#include "encoder/tables.h"

#ifndef TIRREL_VERSION
#define TIRREL_VERSION "unknown"
#endif

namespace tirrel::cli {

std::string VersionText() {
    return "tirrel-cli " TIRREL_VERSION
           "\nencoder: QR Code model 2; versions 1..10 and 0 = the smallest that fits (the "
           "encoder builds up to " +
           std::to_string(encoder::kMaxVersion) +
           ", the program stops at 10 as its window does); error correction L, M, Q, H; "
           "numeric, alphanumeric, 8-bit and GB2312 Chinese character modes, mixed in one "
           "symbol; automatic mask\nimages: bmp png svg pdf eps utf8 ascii; batch reads CSV or "
           "TSV in UTF-8 or GBK; decode reads PNG and BMP\n";
}

std::span<const Command> AllCommands() {
    static constexpr Command kCommands[] = {
        {"encode", "encode payload bytes (text, hex or a file) as one symbol",
         "tirrel-cli encode 'HELLO' -o hello.png\n"
         "  echo 48454c4c4f | tirrel-cli encode --hex - --matrix",
         DefineEncode},
        {"make", "type fields into a page of the window and make its symbol",
         "tirrel-cli make --dialect 102 --tab 0 N=张三 M=13800000000 -o card.png", DefineMake},
        {"load", "load an information file (.sig) and make its symbol",
         "tirrel-cli load card.sig --payload-hex -o card.svg", DefineLoad},
        {"batch", "one symbol per row of a CSV or TSV file",
         "tirrel-cli batch cards.csv --dialect 102 --tab 0 -o out --name '{row}-{N}'", DefineBatch},
        {"decode", "read a symbol from a PNG or BMP image and take its payload apart",
         "tirrel-cli decode card.png", DefineDecode},
    };
    return kCommands;
}

}  // namespace tirrel::cli
