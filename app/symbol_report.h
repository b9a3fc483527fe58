// What the window's gauge line and `--verbose` say about an encoding, as the user reads it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "encoder/encoder.h"

namespace tirrel {

// The two ways of carrying GB2312 characters, as the setting ChineseMode numbers them.
inline constexpr std::string_view kChineseModeLabels[] = {"汉字模式", "字节模式"};

// "版本 7 · M · 已用 83%": a symbol's version, level and share of its data capacity.
[[nodiscard]] std::string FillGauge(const encoder::EncodeFacts& facts);
// "版本 10 · L · 超出 12 字节": a refused payload against the largest version allowed.
[[nodiscard]] std::string ExcessGauge(const encoder::EncodeFacts& facts);

// Version, level and mask (or the excess), the segments with their modes and lengths in
// bytes, and the data bits used of the capacity; nothing for a request refused unread.
[[nodiscard]] std::vector<std::string> EncodingReport(const encoder::EncodeFacts& facts);

}  // namespace tirrel
