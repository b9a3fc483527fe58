#include "cli/table.h"

#include <csv.h>

namespace tirrel::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Collector {
    Table table;
    TableRow row;
};

void OnField(void* bytes, size_t size, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->row.emplace_back(static_cast<const char*>(bytes), size);
}

void OnRowEnd(int, void* data) {
    auto* c = static_cast<Collector*>(data);
    c->table.rows.push_back(std::move(c->row));
    c->row.clear();
}

// RFC 4180 keeps the spaces around a field; libcsv would trim them.
int NoSpaces(unsigned char) {
    return 0;
}

Table ReadCsv(std::string_view text, size_t skipped) {
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) return {{}, "out of memory"};
    csv_set_space_func(&parser, NoSpaces);
    Collector c;
    const size_t taken = csv_parse(&parser, text.data(), text.size(), OnField, OnRowEnd, &c);
    if (taken != text.size() || csv_fini(&parser, OnField, OnRowEnd, &c) != 0) {
        c.table.error = std::string(csv_strerror(csv_error(&parser))) + " near byte " +
                        std::to_string(taken + skipped);
        c.table.rows.clear();
    }
    csv_free(&parser);
    return std::move(c.table);
}

// One row a line, fields between tabs; there is no quoting in TSV.
Table ReadTsv(std::string_view text) {
    Table table;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        TableRow row;
        for (size_t at = 0;;) {
            const size_t tab = line.find('\t', at);
            row.emplace_back(line.substr(at, tab - at));
            if (tab == std::string_view::npos) break;
            at = tab + 1;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace

Table ReadTable(std::string_view text, TableKind kind) {
    const size_t skipped =
        text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    text.remove_prefix(skipped);
    return kind == TableKind::kCsv ? ReadCsv(text, skipped) : ReadTsv(text);
}

}  // namespace tirrel::cli
