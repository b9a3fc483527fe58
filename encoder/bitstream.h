// Bit stream: segments to bits (mode indicator, count, payload), then the data codewords
// with terminator and pad bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/segmenting.h"

namespace tirrel::encoder {

// Append-only bits, each field most significant bit first.
class BitStream {
public:
    void Append(uint32_t value, int bits);
    [[nodiscard]] size_t size() const { return size_; }
    [[nodiscard]] bool bit(size_t i) const { return (bytes_[i >> 3] >> (7 - (i & 7))) & 1; }
    // The bits packed into bytes, first bit as the top bit of the first byte.
    [[nodiscard]] const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t size_ = 0;
};

// Header and payload bits of one segment at `version`; a segment longer than its count
// indicator can say is cut into pieces, each with its own header.
void EncodeSegment(const Segment& segment, int version, BitStream& out);

[[nodiscard]] BitStream EncodeSegments(const std::vector<Segment>& segments, int version);

// Terminator, zero bits up to a byte boundary and alternating pad bytes, to exactly
// `data_codewords` bytes. The stream must fit.
[[nodiscard]] std::vector<uint8_t> FinishDataCodewords(BitStream stream, int data_codewords);

}  // namespace tirrel::encoder
