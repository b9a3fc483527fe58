// Information files (.sig): an INI text whose section "APP" holds what the user typed into
// one content page. Writing decodes the current payload back into its record type and field
// values; reading hands out the values and says which dialect, tab, page and fields they
// belong to. Pure functions over bytes and documents; the main window drives the controls.
//
// Values that contain CR or LF, or begin with a double quote, are stored double-quoted with
// the escapes \\ \" \r \n (worked on bytes, so the 0x5C second byte of a GBK character is
// doubled too); every other value is stored raw, byte for byte. On reading, a value that
// begins and ends with a double quote is unescaped, and then cut to 1663 bytes without
// splitting a GBK character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ini.h"

namespace tirrel {

inline constexpr std::string_view kInfoSection = "APP";
inline constexpr size_t kInfoValueMaxBytes = 1663;

// The "VERSION" value of a dialect code; empty for an unknown code.
[[nodiscard]] std::string_view VersionValue(int dialect);
// The reverse, by exact comparison; empty when the text names no dialect.
[[nodiscard]] std::optional<int> DialectOfVersion(std::string_view version);

using InfoEntries = std::vector<std::pair<std::string, std::string>>;

// A record payload taken apart: its type and its (key, un-escaped value) entries in payload
// order. Never reads past the end: whatever was decoded before a payload runs out is kept.
struct DecodedRecord {
    std::string type;
    InfoEntries fields;
};
[[nodiscard]] DecodedRecord DecodeRecord(std::string_view payload);

// The keys of section "APP" for a payload, in writing order: VERSION, TYPE, then the fields,
// or for the custom page TYPE "CUSTOM" and TEXT = the whole payload.
[[nodiscard]] InfoEntries InformationEntries(int dialect, bool custom_page,
                                             std::string_view payload);

[[nodiscard]] std::string QuoteValue(std::string_view value);
[[nodiscard]] std::string UnquoteValue(std::string_view stored);

// Replaces the whole section "APP" of `doc` by `entries`, keeping every other section.
// Returns -1 (section already removed) when a key cannot be stored.
[[nodiscard]] int ReplaceInformationSection(IniDocument& doc, const InfoEntries& entries);

// Builds the new file from the old one (if any) and writes it atomically. Returns 0, or -1
// with the old file unchanged (it could not be read, or the write failed).
[[nodiscard]] int WriteInformationRecord(const std::string& path, int dialect, bool custom_page,
                                         std::string_view payload);

// The bytes of a new information file for the payload, as WriteInformationRecord writes one
// where there was none; nothing when a key cannot be stored.
[[nodiscard]] std::optional<std::string> NewInformationFile(int dialect, bool custom_page,
                                                            std::string_view payload);

// A file read once, asked for its values.
class InformationDocument {
public:
    // Empty when the file cannot be read.
    [[nodiscard]] static std::optional<InformationDocument> Load(const std::string& path);
    [[nodiscard]] static InformationDocument FromBytes(std::string_view bytes);

    [[nodiscard]] std::string Version() const { return Value("VERSION"); }
    [[nodiscard]] std::string Type() const;                       // "Error" when missing
    [[nodiscard]] std::string Value(std::string_view key) const;  // empty when missing

private:
    explicit InformationDocument(IniDocument doc) : doc_(std::move(doc)) {}
    IniDocument doc_;
};

// Where a loaded record goes: a key and the control id of the field it fills.
struct InfoFieldKey {
    std::string_view key;
    int control;
};

// Where one record type goes under one dialect: worked out from the dialect's tab set and the
// page's own row.
struct DispatchRow {
    int dialect;
    std::string_view type;
    // The row applies only when this key's value is not empty (the three v1.0 service
    // pages share "AD"); empty for an unconditional row. Rows are tried in table order.
    std::string_view when_key;
    int tab;
    int page;                        // page template id
    int focus;                       // control id of the field that takes the keyboard focus
    std::vector<InfoFieldKey> keys;  // in reading order; a field the dialect disables is not read
};

// Every dialect's rows, dialect by dialect.
[[nodiscard]] std::vector<DispatchRow> DispatchTable();

// The row for that dialect and record type, or empty when the dialect has none.
[[nodiscard]] std::optional<DispatchRow> FindDispatchRow(int dialect, std::string_view type,
                                                         const InformationDocument& doc);

// What loading `doc` would do, worked out before anything is changed. A record is loaded
// only when every value its row reads (as read: unquoted and cut) is valid GBK without a zero
// byte; keys the row does not read are ignored, whatever they hold.
struct LoadPlan {
    bool switches_dialect;           // VERSION named a dialect: the pages are recreated
    int dialect;                     // the dialect after the load
    std::optional<DispatchRow> row;  // empty: nothing to load (no row, or a value it cannot take)
};
[[nodiscard]] LoadPlan PlanLoad(const InformationDocument& doc, int current_dialect);

}  // namespace tirrel
