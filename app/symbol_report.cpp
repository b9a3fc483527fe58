#include "app/symbol_report.h"

namespace tirrel {
namespace {

constexpr std::string_view kLevelNames[] = {"L", "M", "Q", "H"};
constexpr std::string_view kModeNames[] = {"数字", "字母数字", "8位", "汉字"};
constexpr std::string_view kDot = " · ";

std::string VersionAndLevel(const encoder::EncodeFacts& facts) {
    return "版本 " + std::to_string(facts.version) + std::string(kDot) +
           std::string(kLevelNames[encoder::LevelIndex(facts.level)]);
}

}  // namespace

std::string FillGauge(const encoder::EncodeFacts& facts) {
    if (facts.capacityBits <= 0) return {};
    // Rounded up: a symbol with room left never reads as empty.
    const long percent = (facts.dataBits * 100 + facts.capacityBits - 1) / facts.capacityBits;
    return VersionAndLevel(facts) + std::string(kDot) + "已用 " + std::to_string(percent) + "%";
}

std::string ExcessGauge(const encoder::EncodeFacts& facts) {
    if (facts.capacityBits <= 0) return {};
    return VersionAndLevel(facts) + std::string(kDot) + "超出 " +
           std::to_string(facts.ExcessBytes()) + " 字节";
}

std::vector<std::string> EncodingReport(const encoder::EncodeFacts& facts) {
    if (facts.capacityBits <= 0) return {};
    std::string segments = "分段（字节）：";
    for (size_t i = 0; i < facts.segments.size(); ++i) {
        if (i > 0) segments += kDot;
        segments += std::string(kModeNames[static_cast<int>(facts.segments[i].mode)]) + " " +
                    std::to_string(facts.segments[i].bytes);
    }
    return {
        facts.Made()
            ? VersionAndLevel(facts) + std::string(kDot) + "掩模 " + std::to_string(facts.mask)
            : ExcessGauge(facts),
        segments,
        "数据位 " + std::to_string(facts.dataBits) + " / " + std::to_string(facts.capacityBits),
    };
}

}  // namespace tirrel
