// A small INI reader/writer with the semantics of the classic profile functions: an
// in-memory document that keeps every line it does not change, plus path-based helpers.
//
// Reading rules: section and key names match case-insensitively (ASCII) and are trimmed of
// blanks; a key's value is everything after the first "=" up to the line end, byte for byte
// (no trimming, no quote stripping). Lines may end in LF or CR LF; a leading UTF-8 BOM is
// ignored. Lines before the first section header belong to no section and are never found.
// Writing emits CR LF line ends; a save replaces the file atomically or leaves it untouched.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_read.h"

namespace tirrel {

class IniDocument {
public:
    // Never fails: every byte sequence is some document (unknown lines are kept verbatim).
    [[nodiscard]] static IniDocument Parse(std::string_view bytes);
    [[nodiscard]] std::string Serialize() const;

    // The value of the first matching key of the first section that holds it.
    [[nodiscard]] std::optional<std::string> Get(std::string_view section,
                                                 std::string_view key) const;

    // Replaces an existing key's value in place, or appends the key after the last key of
    // its section, creating the section at the end when missing. Returns -1 (and changes
    // nothing) when the names or value cannot be stored on one line and read back.
    [[nodiscard]] int Set(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name: header lines and all the lines that follow them.
    void DeleteSection(std::string_view section);

private:
    enum class Kind { kHeader, kKey, kOther };
    struct LineView {
        Kind kind = Kind::kOther;
        std::string_view name;  // trimmed section or key name
        size_t value_pos = 0;   // kKey: index of the value's first byte in the line
    };
    static LineView Classify(std::string_view line);
    // The line (without its "\n") that starts at `begin` in text_.
    std::string_view LineAt(size_t begin) const;
    LineView Entry(size_t i) const { return Classify(LineAt(marks_[i])); }
    bool IsHeader(size_t i) const { return Entry(i).kind == Kind::kHeader; }
    // Index into marks_ of the header after the one at marks_[h], or marks_.size().
    size_t SectionEnd(size_t h) const;
    // Where the section whose header is marks_[h] ends in text_.
    size_t SectionEndOffset(size_t h) const;
    void Reindex();

    // Every line once, each ended by "\n" alone (a CR before it is dropped when parsing);
    // only header and key lines are indexed, by the offset they start at. So a document
    // costs about its size plus one word per header or key line.
    std::string text_;
    std::vector<size_t> marks_;
    bool has_bom_ = false;
};

// Cuts `text` to at most `max_bytes` bytes without splitting a GBK double-byte character
// (a lead byte 0x81..0xFE always takes the byte after it along).
[[nodiscard]] std::string CutGbk(std::string_view text, size_t max_bytes);

// Loads and parses a file; empty when it cannot be read.
[[nodiscard]] std::optional<IniDocument> LoadIniFile(const std::string& path);
// For an edit: a missing file is an empty document; anything else that cannot be read (too
// large, not a regular file, unreadable) is empty optional, so it is never written over, and
// its cause goes to `refused` when given.
[[nodiscard]] std::optional<IniDocument> LoadIniFileForEdit(const std::string& path,
                                                            ReadStatus* refused = nullptr);
// Writes the document atomically. Returns 0, or -1 with errno telling why (the old file is
// then unchanged).
[[nodiscard]] int SaveIniFile(const std::string& path, const IniDocument& doc);

// The leading decimal digits of a value (after optional blanks and one sign), clamped to the
// int range; no digits gives 0.
[[nodiscard]] int ParseProfileInt(std::string_view value);

}  // namespace tirrel
