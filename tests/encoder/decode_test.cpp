// Every symbol must read back, with an independent decoder, to exactly the payload bytes.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoder/encoder.h"
#include "symbol_render.h"
#include "test_util.h"

namespace tirrel::encoder {
namespace {

using testing::Gbk;

struct Content {
    const char* name;
    std::vector<std::string> units;  // characters, repeated cyclically to fill a symbol
    std::string header;              // bytes in front of the repeated units
};

std::vector<std::string> Characters(const std::string& gbk) {
    std::vector<std::string> out;
    for (size_t i = 0; i < gbk.size();) {
        const size_t n = static_cast<unsigned char>(gbk[i]) >= 0x80 ? 2 : 1;
        out.push_back(gbk.substr(i, n));
        i += n;
    }
    return out;
}

std::vector<Content> Contents() {
    return {
        {"digits", Characters("3141592653589793238462643383279"), ""},
        {"upper", Characters("HTTP://WWW.EXAMPLE.CN/Q/7DLR $%*+-.:"), ""},
        {"lower", Characters("the quick brown fox jumps over a lazy dog"), ""},
        {"gb2312-symbols", Characters(Gbk("，。、①Ⅱ（）〔〕《》ａｂ")), ""},
        {"gb2312-hanzi", Characters(Gbk("中华人民共和国北京市张三李四齐鲁")), ""},
        {"gbk-extra", Characters("\x81\x40\x9F\x9F\xFE\x40\xAA\xA1\xB0\x41\xA1\x40"), ""},
        {"card-unicom", Characters(Gbk("CARD:N:张三;TEL:13800138000;ORG:某公司;;")), "\x11\x10"},
        {"mail-cm1", Characters(Gbk("MAIL:TO:lisi@example.cn;SUB:会议;;")), "\x01\x10"},
        {"sms-cm2", Characters(Gbk("SMS:TEL:10086;TXT:查询\r\n余额;;")), "\x01\x20"},
        {"crlf", Characters(Gbk("第一行\r\nLINE 2\r\n第三行 03\r\n")), ""},
    };
}

std::string Fill(const Content& c, size_t units) {
    std::string out = c.header;
    for (size_t k = 0; k < units; ++k)
        out += c.units[k % c.units.size()];
    return out;
}

bool EncodesAt(const std::string& payload, int version, int level) {
    const std::optional<Symbol> s = encode(payload, version, kLevels[level]);
    return s && s->version == version;
}

// A long payload of this content that still comes out at exactly `version` (the exact pass
// may grow a symbol whose estimate fitted, so the longest accepted one can be larger).
std::string LongestFitting(const Content& c, int version, int level) {
    size_t lo = 1, hi = 4000;
    if (!EncodesAt(Fill(c, lo), version, level)) return {};
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (EncodesAt(Fill(c, mid), version, level))
            lo = mid;
        else
            hi = mid - 1;
    }
    return Fill(c, lo);
}

std::string Decode(const Symbol& s) {
    int side = 0;
    const std::vector<uint8_t> img = testing::GreyImage(s, 3, &side);
    const ZXing::Result r =
        ZXing::ReadBarcode({img.data(), side, side, ZXing::ImageFormat::Lum},
                           ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::QRCode));
    if (!r.isValid()) return "<unreadable>";
    return std::string(r.bytes().begin(), r.bytes().end());
}

TEST(Decode, EveryContentAtVersions1To10AndAllLevels) {
    for (const Content& c : Contents()) {
        for (int version = 1; version <= 10; ++version) {
            for (int level = 0; level < 4; ++level) {
                const std::string payload = LongestFitting(c, version, level);
                if (payload.empty()) continue;  // a header alone does not fit
                const std::optional<Symbol> s = encode(payload, version, kLevels[level]);
                ASSERT_TRUE(s);
                EXPECT_EQ(s->version, version);
                EXPECT_EQ(Decode(*s), payload)
                    << c.name << " version " << version << " level " << level;
            }
        }
    }
}

TEST(Decode, AutomaticVersionsAndShortPayloads) {
    for (const Content& c : Contents())
        for (size_t n : {1, 2, 3, 7, 20}) {
            const std::string payload = Fill(c, n);
            const std::optional<Symbol> s = encode(payload, 0, Level::kM);
            ASSERT_TRUE(s) << c.name << " " << n;
            EXPECT_LE(s->version, 10);
            EXPECT_EQ(Decode(*s), payload) << c.name << " " << n;
        }
}

TEST(Decode, LargeVersionsOnTheGeneralPath) {
    const Content mixed{"mixed", Characters(Gbk("二维码 QR 2024 abc 张三;")), "\x11\x10"};
    for (int version : {11, 14, 21, 27, 32, 40})
        for (int level : {0, 3}) {
            const std::string payload = LongestFitting(mixed, version, level);
            const std::optional<Symbol> s = encode(payload, version, kLevels[level]);
            ASSERT_TRUE(s);
            EXPECT_EQ(s->version, version);
            EXPECT_EQ(Decode(*s), payload) << "version " << version << " level " << level;
        }
}

}  // namespace
}  // namespace tirrel::encoder
