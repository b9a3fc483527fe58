#include "settings/parameter_dialogs.h"

namespace tirrel {
namespace {

constexpr std::string_view kVersionItems[] = {"自动", "1", "2", "3", "4", "5",
                                              "6",    "7", "8", "9", "10"};
constexpr int kVersionValues[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

// The fifth, empty level stores 4, which the encoder treats as L.
constexpr std::string_view kLevelItems[] = {"L    (7%)", "M (15%)", "Q (25%)", "H (30%)", ""};
constexpr int kLevelValues[] = {0, 1, 2, 3, 4};

constexpr std::string_view kQuietZoneItems[] = {"2", "3",  "4",  "5",  "6",  "7",  "8",
                                                "9", "10", "12", "15", "20", "25", "30"};
constexpr int kQuietZoneValues[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 15, 20, 25, 30};

constexpr std::string_view kCellPitchItems[] = {
    "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19", "20"};
constexpr int kCellPitchValues[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

static_assert(std::size(kVersionItems) == std::size(kVersionValues));
static_assert(std::size(kLevelItems) == std::size(kLevelValues));
static_assert(std::size(kQuietZoneItems) == std::size(kQuietZoneValues));
static_assert(std::size(kCellPitchItems) == std::size(kCellPitchValues));

const ParameterDialogSpec kVersionDialog = {
    "设置图片版本信息",
    {{
        {"条码版本：", kVersionItems, kVersionValues, &SymbolSettings::GetCodeVersion,
         &SymbolSettings::SetCodeVersion},
        {"条码纠错级别：", kLevelItems, kLevelValues, &SymbolSettings::GetECCLevel,
         &SymbolSettings::SetECCLevel},
    }},
};

const ParameterDialogSpec kPrintDialog = {
    "设置打印参数",
    {{
        {"空白区模块数：", kQuietZoneItems, kQuietZoneValues, &SymbolSettings::GetQuietZone,
         &SymbolSettings::SetQuietZone},
        {"条码模块像素数：", kCellPitchItems, kCellPitchValues, &SymbolSettings::GetCellPitch,
         &SymbolSettings::SetCellPitch},
    }},
};

int IndexOfValue(const ParameterList& list, int value) {
    for (size_t i = 0; i < list.values.size(); ++i) {
        if (list.values[i] == value) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

const ParameterDialogSpec& VersionDialogSpec() {
    return kVersionDialog;
}
const ParameterDialogSpec& PrintDialogSpec() {
    return kPrintDialog;
}

void ParameterDialogModel::Open(const SymbolSettings& host) {
    for (size_t i = 0; i < spec_.lists.size(); ++i) {
        const ParameterList& list = spec_.lists[i];
        selected_[i] = IndexOfValue(list, (host.*list.get)());
    }
}

void ParameterDialogModel::Select(size_t list, int index) {
    int count = static_cast<int>(spec_.lists.at(list).items.size());
    selected_.at(list) = (index >= 0 && index < count) ? index : -1;
}

void ParameterDialogModel::Accept(SymbolSettings& host,
                                  const std::function<void()>& regenerate) const {
    for (size_t i = 0; i < spec_.lists.size(); ++i) {
        const ParameterList& list = spec_.lists[i];
        if (selected_[i] < 0) continue;
        (host.*list.set)(list.values[static_cast<size_t>(selected_[i])]);
    }
    if (regenerate) regenerate();
}

}  // namespace tirrel
