#include "platform/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace tirrel {
namespace {

// One conversion descriptor per call: iconv state is not shareable between threads,
// and conversions happen only at the edges (a keystroke, a command-line argument).
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    // iconv_open's failure value is (iconv_t)-1 by its definition.
    bool ok() const {
        return cd_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
    }

    // Converts as much as possible; returns false at the first unconvertible or invalid byte,
    // with `consumed` telling how far it got.
    bool Run(std::string_view in, std::string& out, size_t& consumed) {
        std::vector<char> buf(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buf.data();
        size_t dstLeft = buf.size();
        size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        consumed = in.size() - srcLeft;
        if (rc == static_cast<size_t>(-1)) return false;
        // Flush any shift state (none for these encodings, but it is the contract).
        dst = buf.data();
        dstLeft = buf.size();
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        return true;
    }

private:
    iconv_t cd_;
};

// Length of the well-formed UTF-8 character at the start of `s`, 0 when it is malformed
// (bad lead, missing or bad continuation, overlong form, surrogate, beyond U+10FFFF).
size_t Utf8CharLength(std::string_view s) {
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    size_t n = 0;
    char32_t cp = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    Converter conv("CP936", "UTF-8");
    if (!conv.ok()) return std::nullopt;
    std::string out;
    size_t consumed = 0;
    if (!conv.Run(utf8, out, consumed)) return std::nullopt;
    return out;
}

std::string GbkToUtf8(std::string_view gbk) {
    Converter conv("UTF-8", "CP936");
    std::string out;
    if (!conv.ok()) return out;
    while (!gbk.empty()) {
        size_t consumed = 0;
        if (conv.Run(gbk, out, consumed)) break;
        out += "\xEF\xBF\xBD";  // U+FFFD for the byte that would not convert
        gbk.remove_prefix(consumed + 1);
    }
    return out;
}

bool IsValidGbk(std::string_view gbk) {
    Converter conv("UTF-8", "CP936");
    std::string out;
    size_t consumed = 0;
    return conv.ok() && conv.Run(gbk, out, consumed);
}

std::string FirstCharacterGbkCannotHold(std::string_view utf8) {
    Converter conv("CP936", "UTF-8");
    std::string out;
    size_t consumed = 0;
    if (conv.ok() && conv.Run(utf8, out, consumed)) return {};
    const std::string_view rest = utf8.substr(consumed);
    if (rest.empty()) return {};
    const size_t n = Utf8CharLength(rest);
    return std::string(rest.substr(0, n == 0 ? 1 : n));
}

}  // namespace tirrel
