// The rows of a CSV (RFC 4180: quoted fields may hold commas, quotes and line breaks) or TSV
// file: CR LF or LF, a last line without a line feed, a UTF-8 byte-order mark at the start.
// Blank lines are no rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tirrel::cli {

using TableRow = std::vector<std::string>;

enum class TableKind { kCsv, kTsv };

struct Table {
    std::vector<TableRow> rows;  // the header first
    std::string error;           // why the text is no table; empty when it is one
};

[[nodiscard]] Table ReadTable(std::string_view text, TableKind kind);

}  // namespace tirrel::cli
