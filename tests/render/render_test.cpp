// Every format read back by an independent party to exactly the payload bytes.
#include "render/render.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>
#include <spng.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/gbk.h"
#include "platform/temp_dir.h"

namespace tirrel::render {
namespace {

struct Picture {
    int width = 0, height = 0;
    int colourType = -1, bitDepth = 0;  // as stored, for PNG
    std::vector<Rgba> pixels;
    Rgba At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

Picture ReadPng(const std::string& path) {
    std::string bytes;
    Picture p;
    if (!ReadWholeFile(path, bytes)) return p;
    spng_ctx* ctx = spng_ctx_new(0);
    spng_ihdr ihdr{};
    size_t size = 0;
    if (!spng_set_png_buffer(ctx, bytes.data(), bytes.size()) && !spng_get_ihdr(ctx, &ihdr) &&
        !spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size)) {
        p.pixels.resize(size / 4);
        if (!spng_decode_image(ctx, p.pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)) {
            p.width = int(ihdr.width);
            p.height = int(ihdr.height);
            p.colourType = ihdr.color_type;
            p.bitDepth = ihdr.bit_depth;
        }
    }
    spng_ctx_free(ctx);
    return p;
}

// 24 bits, stored bottom-up in rows padded to four bytes.
Picture ReadBmp(const std::string& path) {
    std::string f;
    Picture p;
    if (!ReadWholeFile(path, f) || f.size() < 54) return p;
    auto le16 = [&](size_t at) { return int(uint8_t(f[at]) | uint8_t(f[at + 1]) << 8); };
    p.width = le16(18);
    p.height = le16(22);
    const size_t stride = (3 * size_t(p.width) + 3) / 4 * 4;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const char* px = f.data() + 54 + size_t(p.height - 1 - y) * stride + 3 * size_t(x);
            p.pixels.push_back(Rgba{uint8_t(px[2]), uint8_t(px[1]), uint8_t(px[0]), 255});
        }
    return p;
}

// Text back to modules, four pixels each, black for dark: a blank (or a half block's empty
// half) is dark, the rest light.
Picture ReadText(const std::string& path, bool halfBlocks) {
    std::string text, line;
    Picture p;
    if (!ReadWholeFile(path, text)) return p;
    std::vector<std::vector<bool>> dark;
    std::istringstream lines(text);
    while (std::getline(lines, line)) {
        std::vector<bool> upper, lower;
        if (!halfBlocks) {
            for (size_t i = 0; i + 1 < line.size(); i += 2)
                upper.push_back(line.substr(i, 2) == "##");
        }
        for (size_t i = 0; halfBlocks && i < line.size();) {
            const size_t n = line[i] == ' ' ? 1 : 3;
            const std::string cell = line.substr(i, n);
            upper.push_back(cell == " " || cell == "\u2584");
            lower.push_back(cell == " " || cell == "\u2580");
            i += n;
        }
        dark.push_back(upper);
        if (halfBlocks) dark.push_back(lower);
    }
    constexpr int kScale = 4;
    p.width = dark.empty() ? 0 : int(dark[0].size()) * kScale;
    p.height = int(dark.size()) * kScale;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(dark[size_t(y / kScale)][size_t(x / kScale)] ? kBlack : kWhite);
    return p;
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Rasterised at 300 dpi; a light module is then a dozen pixels, anti-aliasing only at edges.
Picture ReadBack(Format format, const std::string& path) {
    const std::string png = path + ".png";
    switch (format) {
        case Format::kBmp:
            return ReadBmp(path);
        case Format::kPng:
            return ReadPng(path);
        case Format::kSvg:
            return Run(std::string(RSVG_CONVERT) + " -o '" + png + "' '" + path + "'")
                       ? ReadPng(png)
                       : Picture{};
        case Format::kPdf:
            return Run(std::string(PDFTOPPM) + " -png -r 300 -singlefile '" + path + "' '" + path +
                       "'")
                       ? ReadPng(png)
                       : Picture{};
        case Format::kEps:
            return Run(std::string(GHOSTSCRIPT) +
                       " -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pngalpha -r300 "
                       "-sOutputFile='" +
                       png + "' '" + path + "'")
                       ? ReadPng(png)
                       : Picture{};
        case Format::kUtf8:
            return ReadText(path, true);
        case Format::kAscii:
            return ReadText(path, false);
    }
    return {};
}

std::string Decode(const Picture& p) {
    std::vector<uint8_t> grey;
    for (const Rgba& c : p.pixels) {
        const Rgba w = OverWhite(c);
        grey.push_back(uint8_t((w.r * 299 + w.g * 587 + w.b * 114) / 1000));
    }
    const ZXing::Result r =
        ZXing::ReadBarcode({grey.data(), p.width, p.height, ZXing::ImageFormat::Lum},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    return r.isValid() ? std::string(r.bytes().begin(), r.bytes().end()) : "<unreadable>";
}

// Transparent matches any transparent pixel, whatever colour it carries.
bool SameColour(Rgba got, Rgba want) {
    return want.a == 0 ? got.a == 0 : got == want;
}

TEST(Render, EveryFormatReadsBackToThePayloadInItsSizeAndColours) {
    const std::string payload = Utf8ToGbk("CARD:N:张三;ORG:北京某公司;TEL:13800138000;;").value();
    const std::optional<encoder::Symbol> symbol = encoder::encode(payload, 0, encoder::Level::kM);
    ASSERT_TRUE(symbol);
    const int n = symbol->width;
    const Rgba navy{0x1e, 0x3a, 0x8a, 255}, cream{0xff, 0xf3, 0xc4, 255}, clear{0, 0, 0, 0};
    struct Case {
        Format format;
        Options options;
        int side;           // the read-back's width in pixels; 0: not fixed by the options
        Rgba dark, light;   // what the read-back shows
        int pngColourType;  // -1: not a PNG
    };
    const Case cases[] = {
        {Format::kBmp, {}, (n + 8) * 4, kBlack, kWhite, -1},
        {Format::kBmp, {3, 2, navy, cream}, (n + 4) * 3, navy, cream, -1},
        {Format::kPng, {}, (n + 8) * 4, kBlack, kWhite, SPNG_COLOR_TYPE_GRAYSCALE},
        {Format::kPng, {5, 3, navy, cream}, (n + 6) * 5, navy, cream, SPNG_COLOR_TYPE_INDEXED},
        {Format::kPng, {2, 4, navy, clear}, (n + 8) * 2, navy, clear, SPNG_COLOR_TYPE_INDEXED},
        {Format::kSvg, {}, (n + 8) * 4, kBlack, kWhite, -1},
        {Format::kSvg, {6, 2, navy, clear}, (n + 4) * 6, navy, clear, -1},
        {Format::kPdf, {}, 473, kBlack, kWhite, -1},  // 40 mm at 300 dpi, rounded up
        {Format::kPdf, {4, 4, navy, cream, 25.4}, 300, navy, cream, -1},
        {Format::kEps, {}, 0, kBlack, kWhite, -1},
        {Format::kEps, {4, 3, navy, cream, 30}, 0, navy, cream, -1},
        {Format::kUtf8, {}, (n + 8) * 4, kBlack, kWhite, -1},
        {Format::kUtf8, {4, 1}, (n + 2) * 4, kBlack, kWhite, -1},
        {Format::kAscii, {4, 2}, (n + 4) * 4, kBlack, kWhite, -1},
    };
    testing::TempDir dir;
    int k = 0;
    for (const Case& c : cases) {
        const std::string where = std::string(FormatName(c.format)) + " case " + std::to_string(k);
        const std::string path =
            dir.File(std::to_string(k++) + "." + std::string(FormatName(c.format)));
        ASSERT_TRUE(RenderToFile(c.format, *symbol, c.options, path).ok()) << where;
        const Picture p = ReadBack(c.format, path);
        ASSERT_GT(p.width, 0) << where;
        EXPECT_EQ(Decode(p), payload) << where;
        if (c.side) {
            EXPECT_EQ(p.width, c.side) << where;
        }
        if (c.pngColourType >= 0) {
            EXPECT_EQ(p.colourType, c.pngColourType) << where;
            EXPECT_EQ(p.bitDepth, 1) << where;
        }
        // The middle of the top-left quiet-zone module, and of the finder's corner module.
        const int pitch = p.width / (n + 2 * c.options.quietZone);
        const int finder = c.options.quietZone * pitch + pitch / 2;
        EXPECT_TRUE(SameColour(p.At(pitch / 2, pitch / 2), c.light)) << where;
        EXPECT_TRUE(SameColour(p.At(finder, finder), c.dark)) << where;
    }
}

TEST(Render, PrintedModulesAreWholeDotsCentredAndShrunkToThePage) {
    const struct {
        int64_t padded;
        double sideMm, dotsPerMm;
        int64_t areaWidth, areaHeight;
        std::optional<PrintLayout> expected;
    } kCases[] = {
        // 40 mm at 600 dpi is 944.9 dots: 29 modules of 32.6 dots, rounded to 33.
        {29, 40, 600 / 25.4, 4800, 6600, PrintLayout{33, 1921, 2821}},
        // Larger than the page: as large as fits.
        {29, 500, 600 / 25.4, 4800, 6600, PrintLayout{165, 7, 907}},
        // Smaller than a dot a module: one dot.
        {29, 1, 300 / 25.4, 1000, 1000, PrintLayout{1, 485, 485}},
        {29, 40, 600 / 25.4, 28, 6600, std::nullopt},  // the area holds no module
        {29, 0, 600 / 25.4, 4800, 6600, std::nullopt},
        {29, 40, 0, 4800, 6600, std::nullopt},
    };
    for (const auto& c : kCases) {
        const std::optional<PrintLayout> got =
            LayoutForPrint(c.padded, c.sideMm, c.dotsPerMm, c.areaWidth, c.areaHeight);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.sideMm;
        if (!got) continue;
        EXPECT_EQ(got->moduleDots, c.expected->moduleDots) << c.sideMm;
        EXPECT_EQ(got->left, c.expected->left) << c.sideMm;
        EXPECT_EQ(got->top, c.expected->top) << c.sideMm;
    }
}

TEST(Render, ColoursParseOrAreRefusedAndPoorContrastWarns) {
    struct Case {
        const char* dark;
        const char* light;  // nullptr: the dark one alone must be refused
        ContrastWarning warning;
    };
    for (const Case& c : {
             Case{"000000", "FFFFFF", ContrastWarning::kNone},
             Case{"#1e3A8a", "fff3c4", ContrastWarning::kNone},
             Case{"000000ff", "ffffff00", ContrastWarning::kNone},  // clear light shows white
             Case{"777777", "999999", ContrastWarning::kLowContrast},
             Case{"00000010", "ffffff", ContrastWarning::kLowContrast},  // nearly clear dark
             Case{"ffffff", "000000", ContrastWarning::kInverted},
             Case{"", nullptr, {}},
             Case{"#", nullptr, {}},
             Case{"fffff", nullptr, {}},
             Case{"fffffff", nullptr, {}},
             Case{"ffffffffff", nullptr, {}},
             Case{"gg0000", nullptr, {}},
             Case{"##000000", nullptr, {}},
             Case{" 000000", nullptr, {}},
             Case{"0x0000", nullptr, {}},
         }) {
        const std::optional<Rgba> dark = ParseColour(c.dark);
        if (!c.light) {
            EXPECT_FALSE(dark) << c.dark;
            continue;
        }
        const std::optional<Rgba> light = ParseColour(c.light);
        ASSERT_TRUE(dark && light) << c.dark << " " << c.light;
        EXPECT_EQ(CheckContrast(*dark, *light), c.warning) << c.dark << " " << c.light;
    }
    EXPECT_EQ(ParseColour("#1e3A8a80"), (Rgba{0x1e, 0x3a, 0x8a, 0x80}));
}

}  // namespace
}  // namespace tirrel::render
