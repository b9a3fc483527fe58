#include "update/value_lookup.h"

#include <algorithm>
#include <cstring>

namespace tirrel {
namespace {

// Copies at most capacity - 1 bytes of `value` and a zero; a zero capacity writes nothing.
void CopyBounded(std::string_view value, char* out, std::size_t capacity) {
    if (out == nullptr || capacity == 0) return;
    const std::size_t n = std::min(value.size(), capacity - 1);
    if (n > 0) std::memcpy(out, value.data(), n);
    out[n] = '\0';
}

}  // namespace

int FindHeaderValue(std::string_view header, std::string_view name, char* out,
                    std::size_t capacity) {
    if (name.empty()) return -1;
    const std::size_t at = header.find(name);
    if (at == std::string_view::npos) return -1;
    const std::size_t start = at + name.size() + 2;
    const std::size_t end =
        start <= header.size() ? header.find("\r\n", start) : std::string_view::npos;
    if (end == std::string_view::npos) {
        CopyBounded({}, out, capacity);
        return -1;
    }
    CopyBounded(header.substr(start, end - start), out, capacity);
    return static_cast<int>(end - start);
}

int GetElementValue(std::string_view body, std::string_view name, char* out, std::size_t capacity) {
    if (body.empty() || name.empty()) return -1;
    const std::size_t at = body.find(name);
    if (at == std::string_view::npos) return -1;
    const std::size_t start = at + name.size() + 1;
    std::size_t slash = std::string_view::npos;
    if (start <= body.size()) {
        for (std::size_t i = body.find('/', start); i != std::string_view::npos;
             i = body.find('/', i + 1)) {
            if (body.substr(i + 1, name.size()) == name) {
                slash = i;
                break;
            }
        }
    }
    if (slash == std::string_view::npos) {
        CopyBounded({}, out, capacity);
        return -2;
    }
    // The byte before "/" is the "<" of the closing tag; "<name>/name" gives an empty value.
    const std::size_t length = slash > start ? slash - 1 - start : 0;
    CopyBounded(body.substr(start, length), out, capacity);
    return static_cast<int>(slash - start);
}

}  // namespace tirrel
