// What the version dialog and the print-parameter dialog show and do, without a toolkit:
// their texts and item lists as tables, the selection they open with, and the SymbolSettings
// calls their OK button makes. A front end only draws the model and forwards the choices.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include "settings/symbol_settings.h"

namespace tirrel {

// One drop-down list: the label beside it, its items (UTF-8) and the value each item stores,
// read from and written to the main window through the two SymbolSettings members.
struct ParameterList {
    std::string_view label;
    std::span<const std::string_view> items;
    std::span<const int> values;  // one per item
    int (SymbolSettings::*get)() const;
    void (SymbolSettings::*set)(int);
};

struct ParameterDialogSpec {
    std::string_view title;
    std::array<ParameterList, 2> lists;  // upper list first: OK stores it first
};

inline constexpr std::string_view kDialogOkText = "确定";
inline constexpr std::string_view kDialogCancelText = "取消";

// "设置图片版本信息": symbol version (value = index) and error-correction level.
[[nodiscard]] const ParameterDialogSpec& VersionDialogSpec();
// "设置打印参数": quiet-zone modules and pixels per module, each storing the number shown.
[[nodiscard]] const ParameterDialogSpec& PrintDialogSpec();

class ParameterDialogModel {
public:
    explicit ParameterDialogModel(const ParameterDialogSpec& spec) : spec_(spec) {}

    [[nodiscard]] const ParameterDialogSpec& spec() const { return spec_; }

    // Selects in each list the item that stores the host's current value; none (-1) when no
    // item does.
    void Open(const SymbolSettings& host);

    [[nodiscard]] int Selected(size_t list) const { return selected_.at(list); }
    // The user's choice; an index outside the list clears the selection.
    void Select(size_t list, int index);

    // OK: stores each selected list's value through its setter, upper list first (a list
    // without a selection keeps its value), then regenerates once more. Cancel is simply
    // not calling this.
    void Accept(SymbolSettings& host, const std::function<void()>& regenerate) const;

private:
    const ParameterDialogSpec& spec_;
    std::array<int, 2> selected_{-1, -1};
};

}  // namespace tirrel
