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
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

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

}  // namespace tirrel
