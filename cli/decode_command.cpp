// tirrel-cli decode: reads the symbol in a PNG or BMP image (zxing-cpp), prints its payload
// and, where it is a record of the carriers' grammar, its dialect, type and fields. A payload
// counts as a record when a page of that type rebuilds exactly these bytes from the fields.
#include <spng.h>

#include <ZXing/ReadBarcode.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/streams.h"
#include "infofile/infofile.h"
#include "pages/payload.h"
#include "pages/tab_sets.h"
#include "platform/gbk.h"

namespace tirrel::cli {
namespace {

constexpr size_t kMaxImageBytes = size_t{64} << 20;
constexpr uint32_t kMaxSide = 16384;

struct DecodeRequest {
    std::string image;
    bool hex = false;
};

struct Grey {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
};

// Luminance over white, so a transparent background reads as light.
uint8_t Luminance(unsigned r, unsigned g, unsigned b, unsigned a) {
    const unsigned y = (r * 299 + g * 587 + b * 114) / 1000;
    return static_cast<uint8_t>((y * a + 255 * (255 - a)) / 255);
}

bool ReadPng(const std::string& bytes, Grey& out) {
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(0), spng_ctx_free);
    size_t size = 0;
    spng_ihdr ihdr{};
    if (!ctx || spng_set_image_limits(ctx.get(), kMaxSide, kMaxSide) != 0 ||
        spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size()) != 0 ||
        spng_get_ihdr(ctx.get(), &ihdr) != 0 ||
        spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size) != 0)
        return false;
    std::vector<uint8_t> rgba(size);
    if (spng_decode_image(ctx.get(), rgba.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
        return false;
    out.width = int(ihdr.width);
    out.height = int(ihdr.height);
    out.pixels.resize(size / 4);
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = Luminance(rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2], rgba[4 * i + 3]);
    return true;
}

uint32_t Le(const std::string& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[at + size_t(i)]);
    return v;
}

// Uncompressed 24- or 32-bit Windows bitmaps, bottom-up or top-down.
bool ReadBmp(const std::string& b, Grey& out) {
    if (b.size() < 54) return false;
    const uint32_t offset = Le(b, 10, 4), bits = Le(b, 28, 2), compression = Le(b, 30, 4);
    const auto width = static_cast<int32_t>(Le(b, 18, 4));
    const auto height = static_cast<int32_t>(Le(b, 22, 4));
    const uint32_t rows = height < 0 ? uint32_t(-int64_t(height)) : uint32_t(height);
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || width <= 0 ||
        uint32_t(width) > kMaxSide || rows == 0 || rows > kMaxSide)
        return false;
    const size_t step = bits / 8, stride = (size_t(width) * step + 3) / 4 * 4;
    if (offset > b.size() || (b.size() - offset) / stride < rows) return false;
    out.width = width;
    out.height = int(rows);
    out.pixels.resize(size_t(width) * rows);
    for (uint32_t y = 0; y < rows; ++y) {
        const size_t line = offset + stride * (height < 0 ? y : rows - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t p = line + size_t(x) * step;
            out.pixels[size_t(y) * size_t(width) + size_t(x)] =
                Luminance(uint8_t(b[p + 2]), uint8_t(b[p + 1]), uint8_t(b[p]), 255);
        }
    }
    return true;
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : bytes) {
        out += kDigits[c >> 4];
        out += kDigits[c & 15];
    }
    return out;
}

// GBK as UTF-8 on one line: control characters and the backslash escaped.
std::string Shown(std::string_view gbk) {
    std::string out;
    for (const char c : GbkToUtf8(gbk)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (u < 0x20 || u == 0x7F)
            out += "\\x" + Hex(std::string_view(&c, 1));
        else
            out += c;
    }
    return out;
}

class FixedDialect final : public PageHost {
public:
    explicit FixedDialect(int dialect) : dialect_(dialect) {}
    void SetPayload(std::string) override {}
    [[nodiscard]] int GetDialect() const override { return dialect_; }

private:
    int dialect_;
};

// The page whose payload from these fields is exactly `payload`, or nullptr.
const PageDef* RecordPage(std::string_view payload, const DecodedRecord& record, int dialect) {
    const FixedDialect host(dialect);
    for (const PageDef& page : AllPages()) {
        if (page.recordType.empty() || page.recordType != record.type) continue;
        std::vector<std::string> texts(page.fields.size());
        bool fits = true;
        for (const auto& [key, value] : record.fields) {
            const FieldDef* f = FindFieldByKey(page, key);
            const size_t i = f ? size_t(f - page.fields.data()) : texts.size();
            fits = fits && i < texts.size() && texts[i].empty();
            if (fits) texts[i] = value;
        }
        if (fits && BuildPayload(page, texts, &host) == payload) return &page;
    }
    return nullptr;
}

std::string Describe(std::string_view payload, bool hex) {
    std::string out = hex ? "hex: " + Hex(payload) + "\n" : "text: " + Shown(payload) + "\n";
    const DialectDef* dialect = nullptr;
    for (const DialectDef& d : AllDialects())
        if (payload.substr(0, d.header.size()) == d.header) dialect = &d;
    if (!dialect) return out + "record: none\n";
    const DecodedRecord record = DecodeRecord(payload);
    if (!RecordPage(payload, record, dialect->dialect)) return out + "record: none\n";
    out += "dialect: " + std::to_string(dialect->dialect) + " " + std::string(dialect->label) +
           "\ntype: " + record.type + "\n";
    for (const auto& [key, value] : record.fields)
        out += key + ": " + Shown(value) + "\n";
    return out;
}

int RunDecode(const DecodeRequest& r) {
    std::string bytes;
    if (int rc = ReadInput(r.image, bytes, kMaxImageBytes)) return rc;
    Grey grey;
    if (!(bytes.rfind("\x89PNG", 0) == 0 ? ReadPng(bytes, grey) : ReadBmp(bytes, grey)))
        return Fail(kExitUsage, r.image + ": not a PNG or an uncompressed 24- or 32-bit BMP");
    const ZXing::Result found =
        ZXing::ReadBarcode({grey.pixels.data(), grey.width, grey.height, ZXing::ImageFormat::Lum},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    if (!found.isValid()) return Fail(kExitRefused, r.image + ": no QR Code found");
    const std::string payload(found.bytes().begin(), found.bytes().end());
    return WriteStdout(Describe(payload, r.hex))
               ? kExitOk
               : Fail(kExitRefused, "cannot write standard output");
}

}  // namespace

Runner DefineDecode(CLI::App& command) {
    auto request = std::make_shared<DecodeRequest>();
    command.add_option("IMAGE", request->image, "a PNG or BMP image; - is stdin")->required();
    command.add_flag("--hex", request->hex, "print the payload bytes in hex instead of as text");
    return [request] { return RunDecode(*request); };
}

}  // namespace tirrel::cli
