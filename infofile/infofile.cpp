#include "infofile/infofile.h"

#include <algorithm>
#include <iterator>

#include "pages/page_def.h"
#include "pages/tab_sets.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel {
namespace {

// The custom page writes no record of its own, so its information file names one.
constexpr std::string_view kCustomType = "CUSTOM";

// Under 中国移动v1.0 three pages share the record type "AD": a page listed here takes the record
// when its key's value is not empty, tried in this order; the page not listed takes the rest.
struct ChoosingKey {
    PageTemplate page;
    std::string_view key;
};
constexpr ChoosingKey kChoosingKeys[] = {
    {kV1WapServicePage, "URL"},
    {kV1IvrServicePage, "CT"},
};

std::string_view RecordTypeOf(const PageDef& page) {
    return page.header == HeaderRule::kRawText ? kCustomType : page.recordType;
}

// The position of a page's row among the rows of its record type, and its choosing key.
std::pair<size_t, std::string_view> ChoiceOf(PageTemplate page) {
    for (size_t i = 0; i < std::size(kChoosingKeys); ++i) {
        if (kChoosingKeys[i].page == page) return {i, kChoosingKeys[i].key};
    }
    return {std::size(kChoosingKeys), {}};
}

DispatchRow RowOf(const DialectDef& d, int tab) {
    const PageDef& page = PageDefinition(d.tabs[tab].page);
    DispatchRow row{
        d.dialect, RecordTypeOf(page), ChoiceOf(page.id).second, tab, page.id, page.focusField, {}};
    for (int id : page.loadOrder) {
        if (!FieldEnabledUnder(d, page, id)) continue;
        row.keys.push_back({FindField(page, id)->key, id});
    }
    return row;
}

// A dialect's rows in the order they are tried: by tab, the pages with a choosing key first.
std::vector<DispatchRow> RowsOf(const DialectDef& d) {
    std::vector<DispatchRow> rows;
    for (size_t tab = 0; tab < d.tabs.size(); ++tab)
        rows.push_back(RowOf(d, static_cast<int>(tab)));
    std::stable_sort(rows.begin(), rows.end(), [](const DispatchRow& a, const DispatchRow& b) {
        return ChoiceOf(static_cast<PageTemplate>(a.page)).first <
               ChoiceOf(static_cast<PageTemplate>(b.page)).first;
    });
    return rows;
}

bool NeedsQuoting(std::string_view value) {
    return value.find_first_of("\r\n") != std::string_view::npos ||
           (!value.empty() && value.front() == '"');
}

// Reads one field value: "%" takes the next byte literally, an unescaped ";" ends it.
// Returns the position after the ending ";" (or the end of the payload).
size_t DecodeValue(std::string_view payload, size_t pos, std::string& value) {
    while (pos < payload.size()) {
        char c = payload[pos++];
        if (c == ';') return pos;
        if (c == '%') {
            if (pos == payload.size()) break;  // a dangling escape at the very end
            c = payload[pos++];
        }
        value += c;
    }
    return payload.size();
}

// A value goes into a field only as text the window can show and edit again: GBK through
// and through, and without a zero byte, which no payload may hold.
bool LoadableValue(std::string_view value) {
    return value.find('\0') == std::string_view::npos && IsValidGbk(value);
}

bool RowValuesLoadable(const DispatchRow& row, const InformationDocument& doc) {
    for (const InfoFieldKey& field : row.keys) {
        if (!LoadableValue(doc.Value(field.key))) return false;
    }
    return true;
}

}  // namespace

std::string_view VersionValue(int dialect) {
    const DialectDef* d = DialectByCode(dialect);
    return d ? d->version : std::string_view();
}

std::optional<int> DialectOfVersion(std::string_view version) {
    for (const DialectDef& d : AllDialects()) {
        if (d.version == version) return d.dialect;
    }
    return std::nullopt;
}

DecodedRecord DecodeRecord(std::string_view payload) {
    DecodedRecord record;
    if (payload.size() < 2) return record;
    std::string_view rest = payload.substr(2);  // the dialect header

    size_t colon = rest.find(':');
    record.type = std::string(rest.substr(0, colon));
    if (colon == std::string_view::npos) return record;
    size_t pos = colon + 1;

    // Entries until the record's closing ";" or the end of the text.
    while (pos < rest.size() && rest[pos] != ';') {
        size_t key_end = rest.find(':', pos);
        if (key_end == std::string_view::npos) break;  // a key without a value
        std::string key(rest.substr(pos, key_end - pos));
        std::string value;
        pos = DecodeValue(rest, key_end + 1, value);
        record.fields.emplace_back(std::move(key), std::move(value));
    }
    return record;
}

InfoEntries InformationEntries(int dialect, bool custom_page, std::string_view payload) {
    InfoEntries entries;
    entries.emplace_back("VERSION", std::string(VersionValue(dialect)));
    if (custom_page) {
        entries.emplace_back("TYPE", std::string(kCustomType));
        entries.emplace_back("TEXT", std::string(payload));
        return entries;
    }
    DecodedRecord record = DecodeRecord(payload);
    entries.emplace_back("TYPE", std::move(record.type));
    for (auto& field : record.fields)
        entries.push_back(std::move(field));
    return entries;
}

std::string QuoteValue(std::string_view value) {
    if (!NeedsQuoting(value)) return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    out += '"';
    return out;
}

std::string UnquoteValue(std::string_view stored) {
    if (stored.size() < 2 || stored.front() != '"' || stored.back() != '"') {
        return std::string(stored);
    }
    std::string_view body = stored.substr(1, stored.size() - 2);
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
            continue;
        }
        switch (body[i + 1]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            default:  // an unknown escape keeps its backslash; the next byte is read as usual
                out += '\\';
                continue;
        }
        ++i;
    }
    return out;
}

int ReplaceInformationSection(IniDocument& doc, const InfoEntries& entries) {
    doc.DeleteSection(kInfoSection);
    for (const auto& [key, value] : entries) {
        if (doc.Set(kInfoSection, key, QuoteValue(value)) != 0) return -1;
    }
    return 0;
}

int WriteInformationRecord(const std::string& path, int dialect, bool custom_page,
                           std::string_view payload) {
    std::optional<IniDocument> doc = LoadIniFileForEdit(path);
    if (!doc) return -1;
    if (ReplaceInformationSection(*doc, InformationEntries(dialect, custom_page, payload)) != 0) {
        return -1;
    }
    return SaveIniFile(path, *doc);
}

std::optional<std::string> NewInformationFile(int dialect, bool custom_page,
                                              std::string_view payload) {
    IniDocument doc = IniDocument::Parse("");
    if (ReplaceInformationSection(doc, InformationEntries(dialect, custom_page, payload)) != 0)
        return std::nullopt;
    return doc.Serialize();
}

std::optional<InformationDocument> InformationDocument::Load(const std::string& path) {
    std::optional<IniDocument> doc = LoadIniFile(path);
    if (!doc) return std::nullopt;
    return InformationDocument(std::move(*doc));
}

InformationDocument InformationDocument::FromBytes(std::string_view bytes) {
    return InformationDocument(IniDocument::Parse(bytes));
}

std::string InformationDocument::Value(std::string_view key) const {
    std::optional<std::string> stored = doc_.Get(kInfoSection, key);
    if (!stored) return {};
    // Unquote first, so a long quoted value is not left half-escaped by the cut.
    return CutGbk(UnquoteValue(*stored), kInfoValueMaxBytes);
}

std::string InformationDocument::Type() const {
    if (!doc_.Get(kInfoSection, "TYPE")) return "Error";
    return Value("TYPE");
}

std::vector<DispatchRow> DispatchTable() {
    std::vector<DispatchRow> table;
    for (const DialectDef& d : AllDialects()) {
        std::vector<DispatchRow> rows = RowsOf(d);
        std::move(rows.begin(), rows.end(), std::back_inserter(table));
    }
    return table;
}

std::optional<DispatchRow> FindDispatchRow(int dialect, std::string_view type,
                                           const InformationDocument& doc) {
    const DialectDef* d = DialectByCode(dialect);
    if (!d) return std::nullopt;
    for (DispatchRow& row : RowsOf(*d)) {
        if (row.type != type) continue;
        if (row.when_key.empty() || !doc.Value(row.when_key).empty()) return std::move(row);
    }
    return std::nullopt;
}

LoadPlan PlanLoad(const InformationDocument& doc, int current_dialect) {
    LoadPlan plan{false, current_dialect, std::nullopt};
    if (std::optional<int> named = DialectOfVersion(doc.Version())) {
        plan.switches_dialect = true;
        plan.dialect = *named;
    }
    plan.row = FindDispatchRow(plan.dialect, doc.Type(), doc);
    if (plan.row && !RowValuesLoadable(*plan.row, doc)) plan.row.reset();
    return plan;
}

}  // namespace tirrel
