#include "platform/ini.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>

#include "platform/atomic_file.h"

namespace tirrel {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// A name is storable when it reads back as itself from the line we would write.
bool IsStorableSection(std::string_view name) {
    return !name.empty() && Trim(name) == name && !HasLineBreak(name) &&
           name.find(']') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
    return !key.empty() && Trim(key) == key && !HasLineBreak(key) &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

}  // namespace

IniDocument::Line IniDocument::ParseLine(std::string text) {
    Line line;
    std::string_view body = Trim(text);
    if (!body.empty() && body.front() == '[') {
        size_t close = body.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::kHeader;
            line.name = std::string(Trim(body.substr(1, close - 1)));
        }
    } else if (!body.empty() && body.front() != ';') {
        size_t eq = text.find('=');
        if (eq != std::string::npos) {
            std::string_view key = Trim(std::string_view(text).substr(0, eq));
            if (!key.empty()) {
                line.kind = Kind::kKey;
                line.name = std::string(key);
                line.value_pos = eq + 1;
            }
        }
    }
    line.text = std::move(text);
    return line;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, kBom.size()) == kBom) {
        doc.has_bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        doc.lines_.push_back(ParseLine(std::string(raw)));
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    if (has_bom_) out += kBom;
    for (const Line& line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::kHeader)
        ++i;
    return i;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::kHeader || !SameName(lines_[h].name, section)) continue;
        size_t end = SectionEnd(h);
        for (size_t i = h + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::kKey && SameName(line.name, Trim(key))) {
                return line.text.substr(line.value_pos);
            }
        }
    }
    return std::nullopt;
}

bool IniDocument::HasSection(std::string_view section) const {
    for (const Line& line : lines_) {
        if (line.kind == Kind::kHeader && SameName(line.name, section)) return true;
    }
    return false;
}

int IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableSection(section) || !IsStorableKey(key) || HasLineBreak(value)) return -1;
    std::string text = std::string(key) + "=" + std::string(value);

    // An existing key keeps its line, and the spelling of its name.
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::kHeader || !SameName(lines_[h].name, section)) continue;
        size_t end = SectionEnd(h);
        for (size_t i = h + 1; i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind == Kind::kKey && SameName(line.name, key)) {
                line.text = line.text.substr(0, line.value_pos) + std::string(value);
                return 0;
            }
        }
    }
    // A new key follows the last key line of the first section of that name.
    for (size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::kHeader || !SameName(lines_[h].name, section)) continue;
        size_t end = SectionEnd(h);
        size_t at = h + 1;
        for (size_t i = h + 1; i < end; ++i) {
            if (lines_[i].kind == Kind::kKey) at = i + 1;
        }
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), ParseLine(text));
        return 0;
    }
    std::string header = "[";
    header.append(section);
    header += ']';
    lines_.push_back(ParseLine(std::move(header)));
    lines_.push_back(ParseLine(text));
    return 0;
}

void IniDocument::DeleteSection(std::string_view section) {
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    bool dropping = false;
    for (Line& line : lines_) {
        if (line.kind == Kind::kHeader) dropping = SameName(line.name, section);
        if (!dropping) kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
}

std::string CutGbk(std::string_view text, size_t max_bytes) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t len = (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
        if (i + len > max_bytes) break;
        i += len;
    }
    return std::string(text.substr(0, i));
}

std::optional<IniDocument> LoadIniFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return std::nullopt;
    return IniDocument::Parse(bytes);
}

std::optional<IniDocument> LoadIniFileForEdit(const std::string& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes)) return IniDocument::Parse(bytes);
    struct stat st {};
    if (!path.empty() && ::stat(path.c_str(), &st) != 0 && errno == ENOENT) return IniDocument{};
    return std::nullopt;
}

int SaveIniFile(const std::string& path, const IniDocument& doc) {
    return WriteFileAtomically(path, doc.Serialize());
}

int ParseProfileInt(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i]))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    // Accumulate towards the sign so INT_MIN is reachable; clamp instead of overflowing.
    long long n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-n);
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback, size_t size) {
    if (size == 0) return {};
    std::optional<IniDocument> doc = LoadIniFile(path);
    std::optional<std::string> value = doc ? doc->Get(section, key) : std::nullopt;
    return CutGbk(value ? std::string_view(*value) : fallback, size - 1);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int fallback) {
    std::optional<IniDocument> doc = LoadIniFile(path);
    std::optional<std::string> value = doc ? doc->Get(section, key) : std::nullopt;
    return value ? ParseProfileInt(*value) : fallback;
}

int WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value) {
    std::optional<IniDocument> doc = LoadIniFileForEdit(path);
    if (!doc || doc->Set(section, key, value) != 0) return -1;
    return SaveIniFile(path, *doc);
}

int DeleteProfileSection(const std::string& path, std::string_view section) {
    std::optional<IniDocument> doc = LoadIniFileForEdit(path);
    if (!doc) return -1;
    if (!doc->HasSection(section)) return 0;  // nothing to remove: leave a missing file missing
    doc->DeleteSection(section);
    return SaveIniFile(path, *doc);
}

}  // namespace tirrel
