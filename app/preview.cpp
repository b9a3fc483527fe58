#include "app/preview.h"

#include <algorithm>
#include <cstring>

#include "encoder/module.h"

namespace tirrel {

PreviewGeometry PreviewGeometryFor(int size, int zoom, int n) {
    int base = (size - 59) / n;
    // Small symbols have room to shrink two pixels per step; larger ones one pixel.
    int step = base < 12 ? 1 : 2;
    // A symbol grown past version 10 by its exact encoding would shrink to nothing at the
    // smallest steps; it keeps one pixel per module instead of vanishing.
    int c = std::max(base - (zoom - 1) * step, 1);
    return {c, (size - c * n) / 2};
}

int RenderPreview(const uint8_t* modules, uint8_t* pixels, int size, int zoom, int n) {
    if (zoom < 1 || zoom > 6 || size < 65 || pixels == nullptr) return -1;
    if (modules == nullptr || n < 1) return 0;
    const PreviewGeometry g = PreviewGeometryFor(size, zoom, n);
    const int c = g.moduleSize;
    const int m = g.margin;
    if (c <= 0) return 0;
    const size_t stride = size_t(3) * size;
    for (int i = 0; i < n; ++i) {
        const uint8_t* row = modules + size_t(i) * n;
        uint8_t* top = pixels + size_t(m + c * i) * stride;
        // Draw the first pixel row of this module row, then copy it down c - 1 times.
        bool any = false;
        for (int j = 0; j < n; ++j) {
            if (!encoder::IsDark(row[j])) continue;
            std::memset(top + size_t(3) * (m + c * j), 0x00, size_t(3) * c);
            any = true;
        }
        if (!any) continue;
        for (int dy = 1; dy < c; ++dy)
            std::memcpy(top + size_t(dy) * stride, top, stride);
    }
    return 0;
}

}  // namespace tirrel
