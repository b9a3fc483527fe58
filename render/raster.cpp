// BMP and PNG.
#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "render/bitmap_writer.h"
#include "render/writers.h"

namespace tirrel::render {
namespace {

constexpr size_t kBmpHeaderBytes = 54;

struct SpngFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngFree>;

// A row of pixels at one bit a pixel, most significant first, written a run at a time.
class BitRow {
public:
    explicit BitRow(uint8_t* out) : out_(out) {}
    void Put(bool set, size_t count) {
        while (count > 0) {
            const unsigned take = unsigned(std::min<size_t>(count, 24));
            acc_ = (acc_ << take) | (set ? (1u << take) - 1 : 0u);
            pending_ += take;
            count -= take;
            for (; pending_ >= 8; pending_ -= 8)
                *out_++ = uint8_t(acc_ >> (pending_ - 8));
        }
    }
    // The last byte's unused bits are set.
    void Finish() {
        if (pending_ > 0) Put(true, 8 - pending_);
    }

private:
    uint8_t* out_;
    uint32_t acc_ = 0;
    unsigned pending_ = 0;  // bits in acc_ not yet written, the lowest ones
};

// One pixel row of a module row; a set bit is light (white in greyscale, palette entry 1).
// Row -1 stands for the quiet zone.
void PackRow(Modules m, const Options& o, int row, std::vector<uint8_t>& bits) {
    if (row < 0) {
        std::fill(bits.begin(), bits.end(), 0xFF);
        return;
    }
    const size_t p = size_t(o.moduleSize);
    const size_t margin = size_t(o.quietZone) * p;
    BitRow out(bits.data());
    out.Put(true, margin);
    for (int col = 0; col < m.width; ++col)
        out.Put(!m.Dark(row, col), p);
    out.Put(true, margin);
    out.Finish();
}

// Greyscale for plain black on white: readers treat it as the most ordinary of images.
// Anything else is a two-entry palette (with per-entry alpha when asked for), which keeps one
// bit per pixel and exact colours where RGBA would take 32.
int DescribeImage(spng_ctx* ctx, uint32_t side, const Options& o) {
    const bool plain = o.dark == kBlack && o.light == kWhite;
    spng_ihdr ihdr{};
    ihdr.width = ihdr.height = side;
    ihdr.bit_depth = 1;
    ihdr.color_type = plain ? SPNG_COLOR_TYPE_GRAYSCALE : SPNG_COLOR_TYPE_INDEXED;
    if (int rc = spng_set_ihdr(ctx, &ihdr)) return rc;
    if (plain) return 0;
    spng_plte plte{};
    plte.n_entries = 2;
    plte.entries[0] = {o.dark.r, o.dark.g, o.dark.b, 255};
    plte.entries[1] = {o.light.r, o.light.g, o.light.b, 255};
    if (int rc = spng_set_plte(ctx, &plte)) return rc;
    if (o.dark.a == 255 && o.light.a == 255) return 0;
    spng_trns trns{};
    trns.n_type3_entries = 2;
    trns.type3_alpha[0] = o.dark.a;
    trns.type3_alpha[1] = o.light.a;
    return spng_set_trns(ctx, &trns);
}

// The whole picture at one bit a pixel: each module row is packed once and copied moduleSize
// times.
std::vector<uint8_t> PackImage(Modules m, const Options& o, uint32_t side) {
    const size_t stride = (size_t(side) + 7) / 8;
    std::vector<uint8_t> image(stride * side);
    std::vector<uint8_t> bits(stride);
    const int64_t rows = PaddedSide(m.width, o);
    uint8_t* out = image.data();
    for (int64_t r = 0; r < rows; ++r) {
        const int64_t row = r - o.quietZone;
        PackRow(m, o, row >= 0 && row < m.width ? int(row) : -1, bits);
        for (int k = 0; k < o.moduleSize; ++k, out += stride)
            std::copy(bits.begin(), bits.end(), out);
    }
    return image;
}

}  // namespace

std::string BuildColouredBitmap(Modules m, const Options& o) {
    const std::vector<uint8_t> file = BuildBitmapFile(m.data, m.width, o.moduleSize, o.quietZone);
    std::string out(file.begin(), file.end());
    if (o.dark == kBlack && o.light == kWhite) return out;
    const Rgba dark = OverWhite(o.dark), light = OverWhite(o.light);
    const size_t side = size_t(PaddedSide(m.width, o)) * size_t(o.moduleSize);
    const size_t stride = (3 * side + 3) / 4 * 4;
    for (size_t y = 0; y < side; ++y) {
        char* row = out.data() + kBmpHeaderBytes + y * stride;
        for (size_t x = 0; x < side; ++x) {
            const Rgba& c = row[3 * x] == 0 ? dark : light;
            row[3 * x] = char(c.b);  // stored blue, green, red
            row[3 * x + 1] = char(c.g);
            row[3 * x + 2] = char(c.r);
        }
    }
    return out;
}

Result BuildPng(Modules m, const Options& o, std::string& out) {
    const SpngContext ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx) return Result{Failure::kEncodeFailed, SPNG_EMEM};
    const uint32_t side = uint32_t(PaddedSide(m.width, o) * o.moduleSize);
    int rc = spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (!rc) rc = DescribeImage(ctx.get(), side, o);
    // Filters gain nothing on two-level rows that repeat; deflate finds the repeats.
    if (!rc) rc = spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
    // An 8 KiB window spans the repeats of a module row at any size worth drawing and is set up
    // in a fraction of the time of deflate's 32 KiB; level 1 finds whole repeated rows anyway.
    if (!rc) rc = spng_set_option(ctx.get(), SPNG_IMG_WINDOW_BITS, 13);
    if (!rc) rc = spng_set_option(ctx.get(), SPNG_IMG_MEM_LEVEL, 8);
    if (!rc) rc = spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    if (!rc) {
        const std::vector<uint8_t> image = PackImage(m, o, side);
        rc = spng_encode_image(ctx.get(), image.data(), image.size(), SPNG_FMT_PNG,
                               SPNG_ENCODE_FINALIZE);
    }
    if (rc) return Result{Failure::kEncodeFailed, rc};
    size_t size = 0;
    void* png = spng_get_png_buffer(ctx.get(), &size, &rc);
    if (!png) return Result{Failure::kEncodeFailed, rc};
    out.assign(static_cast<const char*>(png), size);
    std::free(png);
    return Result{};
}

}  // namespace tirrel::render
