// Segmenting: splits a GBK payload into numeric, alphanumeric, 8-bit and Chinese segments
// with a greedy splitter, and estimates the version the segments need.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "encoder/level.h"

namespace tirrel::encoder {

enum class Mode { kNumeric, kAlphanumeric, kByte, kChinese };

struct Segment {
    Mode mode;
    std::string bytes;  // the segment's own copy of its payload bytes
};

// Count-indicator width; version 0 (not chosen yet) uses the widths of versions 1-9.
[[nodiscard]] int CountWidth(Mode mode, int version);

// Payload bits without header, for n digits / n characters.
[[nodiscard]] int NumericBits(int n);
[[nodiscard]] int AlphanumericBits(int n);

// Value 0..44 of an alphanumeric character, -1 for any other byte.
[[nodiscard]] int AlphanumericValue(unsigned char c);

// Mode of the character starting at p; the end of `text` acts as its terminator.
[[nodiscard]] Mode ModeAt(std::string_view text, size_t p);

// The splitter; its switching costs use the count widths of `version`. Without `chinese`
// GB2312 characters are classified as 8-bit.
[[nodiscard]] std::vector<Segment> SplitSegments(std::string_view payload, int version,
                                                 bool chinese = true);

// Smallest version the segments fit by estimate, widening the count indicators as the
// version grows; -1 when no version holds them.
[[nodiscard]] int EstimateVersion(const std::vector<Segment>& segments, Level level);

}  // namespace tirrel::encoder
