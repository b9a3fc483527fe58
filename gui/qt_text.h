// The core's texts are UTF-8 byte strings; this is the one way they become QStrings.
#pragma once

#include <QString>
#include <string_view>

namespace tirrel::gui {

inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tirrel::gui
