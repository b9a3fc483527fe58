#include "platform/ini.h"

#include <algorithm>
#include <climits>

#include "platform/atomic_file.h"
#include "platform/file_read.h"

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

IniDocument::LineView IniDocument::Classify(std::string_view line) {
    LineView view;
    std::string_view body = Trim(line);
    if (!body.empty() && body.front() == '[') {
        size_t close = body.find(']');
        if (close != std::string_view::npos) {
            view.kind = Kind::kHeader;
            view.name = Trim(body.substr(1, close - 1));
        }
    } else if (!body.empty() && body.front() != ';') {
        size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            std::string_view key = Trim(line.substr(0, eq));
            if (!key.empty()) {
                view.kind = Kind::kKey;
                view.name = key;
                view.value_pos = eq + 1;
            }
        }
    }
    return view;
}

std::string_view IniDocument::LineAt(size_t begin) const {
    return std::string_view(text_).substr(begin, text_.find('\n', begin) - begin);
}

void IniDocument::Reindex() {
    // Counted first: a growing vector would hold up to twice (and while moving, three times)
    // what the index needs.
    auto each_mark = [this](auto&& take) {
        for (size_t begin = 0; begin < text_.size(); begin = text_.find('\n', begin) + 1) {
            if (Classify(LineAt(begin)).kind != Kind::kOther) take(begin);
        }
    };
    size_t count = 0;
    each_mark([&count](size_t) { ++count; });
    marks_.clear();
    marks_.shrink_to_fit();
    marks_.reserve(count);
    each_mark([this](size_t begin) { marks_.push_back(begin); });
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    if (bytes.substr(0, kBom.size()) == kBom) {
        doc.has_bom_ = true;
        bytes.remove_prefix(kBom.size());
    }
    doc.text_.reserve(bytes.size() + 1);
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view raw = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        doc.text_.append(raw);
        doc.text_ += '\n';
    }
    doc.Reindex();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    out.reserve(kBom.size() + text_.size() +
                static_cast<size_t>(std::count(text_.begin(), text_.end(), '\n')));
    if (has_bom_) out += kBom;
    for (size_t begin = 0; begin < text_.size(); begin += LineAt(begin).size() + 1) {
        out += LineAt(begin);
        out += "\r\n";
    }
    return out;
}

size_t IniDocument::SectionEnd(size_t h) const {
    size_t i = h + 1;
    while (i < marks_.size() && !IsHeader(i))
        ++i;
    return i;
}

size_t IniDocument::SectionEndOffset(size_t h) const {
    size_t end = SectionEnd(h);
    return end < marks_.size() ? marks_[end] : text_.size();
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
    for (size_t h = 0; h < marks_.size(); ++h) {
        LineView header = Entry(h);
        if (header.kind != Kind::kHeader || !SameName(header.name, section)) continue;
        size_t end = SectionEnd(h);
        for (size_t i = h + 1; i < end; ++i) {
            LineView line = Entry(i);
            if (SameName(line.name, Trim(key))) {
                return std::string(LineAt(marks_[i]).substr(line.value_pos));
            }
        }
    }
    return std::nullopt;
}

int IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableSection(section) || !IsStorableKey(key) || HasLineBreak(value)) return -1;

    // An existing key keeps its line, and the spelling of its name.
    for (size_t h = 0; h < marks_.size(); ++h) {
        LineView header = Entry(h);
        if (header.kind != Kind::kHeader || !SameName(header.name, section)) continue;
        size_t end = SectionEnd(h);
        for (size_t i = h + 1; i < end; ++i) {
            LineView line = Entry(i);
            if (SameName(line.name, key)) {
                size_t from = marks_[i] + line.value_pos;
                text_.replace(from, LineAt(marks_[i]).size() - line.value_pos, value);
                Reindex();
                return 0;
            }
        }
    }
    std::string text = std::string(key) + "=" + std::string(value) + "\n";
    // A new key follows the last key line of the first section of that name.
    for (size_t h = 0; h < marks_.size(); ++h) {
        LineView header = Entry(h);
        if (header.kind != Kind::kHeader || !SameName(header.name, section)) continue;
        size_t last = SectionEnd(h) - 1;  // the header itself when the section has no key
        text_.insert(marks_[last] + LineAt(marks_[last]).size() + 1, text);
        Reindex();
        return 0;
    }
    text_ += '[';
    text_.append(section);
    text_ += "]\n";
    text_ += text;
    Reindex();
    return 0;
}

void IniDocument::DeleteSection(std::string_view section) {
    std::string kept;
    kept.reserve(text_.size());
    size_t copied = 0;  // text_ before this offset is copied or dropped
    for (size_t h = 0; h < marks_.size(); ++h) {
        LineView header = Entry(h);
        if (header.kind != Kind::kHeader || !SameName(header.name, section)) continue;
        kept.append(text_, copied, marks_[h] - copied);
        copied = SectionEndOffset(h);
    }
    kept.append(text_, copied);
    text_ = std::move(kept);
    Reindex();
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

std::optional<IniDocument> LoadIniFileForEdit(const std::string& path, ReadStatus* refused) {
    std::string bytes;
    ReadStatus read = ReadFileBounded(path, bytes);
    if (read.ok()) return IniDocument::Parse(bytes);
    // Only a truly missing file starts empty; one too large or not a file is kept as it is.
    if (read.failure == ReadFailure::kMissing) return IniDocument{};
    if (refused != nullptr) *refused = read;
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

}  // namespace tirrel
