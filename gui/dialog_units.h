// Layout in dialog units, as the window templates give it, converted to pixels at 1.5 px per
// unit on both axes (what the fixed pixel figures of the preview and page rectangles imply).
#pragma once

#include <QRect>
#include <cmath>

#include "pages/page_def.h"

namespace tirrel::gui {

inline int DialogUnits(double units) {
    return static_cast<int>(std::lround(units * 1.5));
}

inline QRect DialogRectToPixels(int x, int y, int width, int height) {
    return QRect(DialogUnits(x), DialogUnits(y), DialogUnits(width), DialogUnits(height));
}

inline QRect DialogRectToPixels(const DialogRect& r) {
    return DialogRectToPixels(r.x, r.y, r.width, r.height);
}

}  // namespace tirrel::gui
