#include "encoder/bitstream.h"

#include <string_view>

namespace tirrel::encoder {
namespace {

constexpr uint32_t kModeIndicator[4] = {0x1, 0x2, 0x4, 0xD};
constexpr uint32_t kChineseSubset = 0x1;

int Digit(char c) {
    return c - '0';
}

void EncodeNumeric(std::string_view s, BitStream& out) {
    size_t i = 0;
    for (; i + 3 <= s.size(); i += 3)
        out.Append(uint32_t(Digit(s[i]) * 100 + Digit(s[i + 1]) * 10 + Digit(s[i + 2])), 10);
    if (s.size() - i == 1) out.Append(uint32_t(Digit(s[i])), 4);
    if (s.size() - i == 2) out.Append(uint32_t(Digit(s[i]) * 10 + Digit(s[i + 1])), 7);
}

void EncodeAlphanumeric(std::string_view s, BitStream& out) {
    auto value = [](char c) { return uint32_t(AlphanumericValue(static_cast<unsigned char>(c))); };
    size_t i = 0;
    for (; i + 2 <= s.size(); i += 2)
        out.Append(45 * value(s[i]) + value(s[i + 1]), 11);
    if (i < s.size()) out.Append(value(s[i]), 6);
}

void EncodeChinese(std::string_view s, BitStream& out) {
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(s[i]);
        const unsigned second = static_cast<unsigned char>(s[i + 1]);
        const unsigned base = first <= 0xAA ? 0xA1 : 0xA6;
        out.Append((first - base) * 0x60 + (second - 0xA1), 13);
    }
}

void EncodePiece(Mode mode, std::string_view s, int width, BitStream& out) {
    out.Append(kModeIndicator[static_cast<int>(mode)], 4);
    if (mode == Mode::kChinese) out.Append(kChineseSubset, 4);
    const size_t count = mode == Mode::kChinese ? s.size() / 2 : s.size();
    out.Append(uint32_t(count), width);
    switch (mode) {
        case Mode::kNumeric:
            EncodeNumeric(s, out);
            break;
        case Mode::kAlphanumeric:
            EncodeAlphanumeric(s, out);
            break;
        case Mode::kByte:
            for (char c : s)
                out.Append(static_cast<unsigned char>(c), 8);
            break;
        case Mode::kChinese:
            EncodeChinese(s, out);
            break;
    }
}

}  // namespace

void BitStream::Append(uint32_t value, int bits) {
    // A byte at a time: at most three steps for a 16-bit field.
    while (bits > 0) {
        if ((size_ & 7) == 0) bytes_.push_back(0);
        const int room = 8 - int(size_ & 7);
        const int take = bits < room ? bits : room;
        const uint32_t chunk = (value >> (bits - take)) & ((1u << take) - 1);
        bytes_.back() |= uint8_t(chunk << (room - take));
        size_ += size_t(take);
        bits -= take;
    }
}

void EncodeSegment(const Segment& segment, int version, BitStream& out) {
    const int width = CountWidth(segment.mode, version);
    const size_t max_count = (size_t(1) << width) - 1;
    const size_t max_bytes = segment.mode == Mode::kChinese ? 2 * max_count : max_count;
    std::string_view rest = segment.bytes;
    while (rest.size() > max_bytes) {
        EncodePiece(segment.mode, rest.substr(0, max_bytes), width, out);
        rest.remove_prefix(max_bytes);
    }
    EncodePiece(segment.mode, rest, width, out);
}

BitStream EncodeSegments(const std::vector<Segment>& segments, int version) {
    BitStream out;
    for (const Segment& s : segments)
        EncodeSegment(s, version, out);
    return out;
}

std::vector<uint8_t> FinishDataCodewords(BitStream stream, int data_codewords) {
    const long capacity = 8L * data_codewords;
    const long used = long(stream.size());
    if (capacity - used <= 4) {
        stream.Append(0, int(capacity - used));
    } else {
        stream.Append(0, int(11 - (used + 11) % 8));
        const long pads = data_codewords - (used + 11) / 8;
        for (long i = 0; i < pads; ++i)
            stream.Append(i % 2 == 0 ? 0xEC : 0x11, 8);
    }
    return stream.bytes();
}

}  // namespace tirrel::encoder
