#include "infofile/infofile.h"

#include "pages/dialect.h"
#include "pages/page_def.h"
#include "platform/atomic_file.h"
#include "platform/gbk.h"

namespace tirrel {
namespace {

constexpr int kMobileV1 = kDialectMobileV1;
constexpr int kMobileV2 = kDialectMobileV2;
constexpr int kUnicom = kDialectUnicom;

struct VersionName {
    int dialect;
    std::string_view value;
};
constexpr VersionName kVersionNames[] = {
    {kMobileV1, "0110"},
    {kMobileV2, "0120"},
    {kUnicom, "1110"},
};

constexpr InfoFieldKey kCardKeys[] = {
    {"N", 1012},   {"TIL", 1013}, {"DIV", 1014}, {"COR", 1015}, {"ADR", 1017}, {"ZIP", 1019},
    {"TEL", 1018}, {"M", 1020},   {"FAX", 1021}, {"EM", 1016},  {"URL", 1022},
};
// Under 中国移动v2.0 the card's URL field is disabled, so it is not read.
constexpr std::span<const InfoFieldKey> kCardKeysNoUrl(kCardKeys, std::size(kCardKeys) - 1);
constexpr InfoFieldKey kMailKeys[] = {{"TO", 1014}, {"SUB", 1015}, {"TXT", 1016}};
constexpr InfoFieldKey kSmsKeys[] = {{"SM", 1015}, {"TXT", 1016}};
constexpr InfoFieldKey kTextKeys[] = {{"SUB", 1015}, {"TXT", 1016}};
constexpr InfoFieldKey kPhoneKeys[] = {{"SUB", 1015}, {"TEL", 1018}, {"M", 1020}};
constexpr InfoFieldKey kBookmarkKeys[] = {{"SUB", 1015}, {"URL", 1022}};
constexpr InfoFieldKey kWapKeys[] = {
    {"BN", 1019}, {"INTR", 1016}, {"COD", 1017}, {"ST", 1018}, {"URL", 1022},
};
constexpr std::span<const InfoFieldKey> kWapKeysNoUrl(kWapKeys, std::size(kWapKeys) - 1);
constexpr InfoFieldKey kSmsServiceKeys[] = {
    {"BN", 1019}, {"INTR", 1016}, {"DG", 1020}, {"SID", 1021}, {"ST", 1018},
};
constexpr InfoFieldKey kIvrServiceKeys[] = {
    {"BN", 1019},
    {"INTR", 1016},
    {"IVR", 1021},
    {"ST", 1018},
};
constexpr InfoFieldKey kV1WapKeys[] = {{"SUB", 1015}, {"INTR", 1016}, {"URL", 1022}, {"M", 1020}};
constexpr InfoFieldKey kV1IvrKeys[] = {{"SUB", 1015}, {"INTR", 1016}, {"CT", 1030}, {"M", 1020}};
constexpr InfoFieldKey kV1SmsKeys[] = {
    {"SUB", 1015}, {"INTR", 1016}, {"DG", 1020}, {"SID", 1021}, {"M", 1031},
};
constexpr InfoFieldKey kCustomKeys[] = {{"TEXT", 1028}};

constexpr DispatchRow kDispatchRows[] = {
    {kMobileV1, "CARD", "", 0, kCardPage, 1012, kCardKeys},
    {kMobileV1, "MAIL", "", 1, kMailPage, 1014, kMailKeys},
    {kMobileV1, "SMS", "", 2, kSmsPage, 1015, kSmsKeys},
    {kMobileV1, "DTXT", "", 3, kTextPage, 1015, kTextKeys},
    {kMobileV1, "PHONE", "", 4, kPhonePage, 1015, kPhoneKeys},
    {kMobileV1, "BM", "", 5, kBookmarkPage, 1015, kBookmarkKeys},
    // One record type for three pages: URL only on the WAP page, CT only on the IVR page.
    {kMobileV1, "AD", "URL", 6, kV1WapServicePage, 1015, kV1WapKeys},
    {kMobileV1, "AD", "CT", 8, kV1IvrServicePage, 1015, kV1IvrKeys},
    {kMobileV1, "AD", "", 7, kV1SmsServicePage, 1015, kV1SmsKeys},

    {kMobileV2, "CARD", "", 0, kCardPage, 1012, kCardKeysNoUrl},
    {kMobileV2, "MAIL", "", 1, kMailPage, 1014, kMailKeys},
    {kMobileV2, "SMS", "", 2, kSmsPage, 1015, kSmsKeys},
    {kMobileV2, "DTXT", "", 3, kTextPage, 1015, kTextKeys},
    {kMobileV2, "WAD", "", 4, kWapServicePage, 1019, kWapKeysNoUrl},
    {kMobileV2, "SAD", "", 5, kSmsServicePage, 1019, kSmsServiceKeys},
    {kMobileV2, "IAD", "", 6, kIvrServicePage, 1019, kIvrServiceKeys},

    {kUnicom, "CARD", "", 0, kCardPage, 1012, kCardKeys},
    {kUnicom, "MAIL", "", 1, kMailPage, 1014, kMailKeys},
    {kUnicom, "SMS", "", 2, kSmsPage, 1015, kSmsKeys},
    {kUnicom, "DTXT", "", 3, kTextPage, 1015, kTextKeys},
    {kUnicom, "BM", "", 4, kBookmarkPage, 1015, kBookmarkKeys},
    {kUnicom, "WAD", "", 5, kWapServicePage, 1019, kWapKeys},
    {kUnicom, "SAD", "", 6, kSmsServicePage, 1019, kSmsServiceKeys},
    {kUnicom, "IAD", "", 7, kIvrServicePage, 1019, kIvrServiceKeys},
    {kUnicom, "CUSTOM", "", 8, kCustomPage, 1028, kCustomKeys},
};

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
    for (const VersionName& v : kVersionNames) {
        if (v.dialect == dialect) return v.value;
    }
    return {};
}

std::optional<int> DialectOfVersion(std::string_view version) {
    for (const VersionName& v : kVersionNames) {
        if (v.value == version) return v.dialect;
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
        entries.emplace_back("TYPE", "CUSTOM");
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

std::span<const DispatchRow> DispatchTable() {
    return kDispatchRows;
}

const DispatchRow* FindDispatchRow(int dialect, std::string_view type,
                                   const InformationDocument& doc) {
    for (const DispatchRow& row : kDispatchRows) {
        if (row.dialect != dialect || row.type != type) continue;
        if (row.when_key.empty() || !doc.Value(row.when_key).empty()) return &row;
    }
    return nullptr;
}

LoadPlan PlanLoad(const InformationDocument& doc, int current_dialect) {
    LoadPlan plan{false, current_dialect, nullptr};
    if (std::optional<int> named = DialectOfVersion(doc.Version())) {
        plan.switches_dialect = true;
        plan.dialect = *named;
    }
    plan.row = FindDispatchRow(plan.dialect, doc.Type(), doc);
    if (plan.row && !RowValuesLoadable(*plan.row, doc)) plan.row = nullptr;
    return plan;
}

}  // namespace tirrel
