// The on-screen preview: the symbol drawn into a square 24-bit pixel buffer (rows top to bottom,
// three equal bytes per pixel, no row padding), its module size chosen by the zoom step 1..6.
#pragma once

#include <cstdint>

namespace tirrel {

constexpr int kDisplaySize = 420;
constexpr int kPreviewBytes = kDisplaySize * kDisplaySize * 3;

// Pixels per module and the left/top margin for an N-module symbol at `zoom`.
struct PreviewGeometry {
    int moduleSize;
    int margin;
};
[[nodiscard]] PreviewGeometry PreviewGeometryFor(int size, int zoom, int n);

// Draws the dark modules of the N x N matrix into `pixels` (size x size, already white).
// Returns -1 (drawing nothing) when zoom is outside 1..6, size is below 65 or pixels is null.
[[nodiscard]] int RenderPreview(const uint8_t* modules, uint8_t* pixels, int size, int zoom, int n);

}  // namespace tirrel
