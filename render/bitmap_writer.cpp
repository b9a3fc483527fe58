#include "render/bitmap_writer.h"

#include <optional>
#include <string_view>

#include "encoder/module.h"
#include "platform/atomic_file.h"

namespace tirrel {
namespace {

constexpr int kHeaderBytes = 54;
constexpr int64_t kMaxSide = 65535;
// Keeps W * S well inside 32 bits (the file's size fields) and the buffer reasonable.
constexpr int64_t kMaxImageBytes = 256LL * 1024 * 1024;

struct Dimensions {
    size_t side;    // W = H
    size_t stride;  // S: 3W rounded up to a multiple of 4
};

bool Drawable(const uint8_t* matrix, int n, int cellPitch, int quietZone) {
    return matrix != nullptr && n >= 1 && cellPitch >= 1 && quietZone >= 0;
}

// Nothing when the image would exceed the limits; the side is bounded before any product
// that could overflow.
std::optional<Dimensions> Measure(int n, int cellPitch, int quietZone) {
    const int64_t modules = int64_t(n) + 2 * int64_t(quietZone);
    if (modules > kMaxSide / cellPitch) return std::nullopt;
    const int64_t w = int64_t(cellPitch) * modules;
    const int64_t stride = (3 * w + 3) / 4 * 4;
    if (stride * w > kMaxImageBytes) return std::nullopt;
    return Dimensions{size_t(w), size_t(stride)};
}

void PutLe(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool BitmapSizeAllowed(int n, int cellPitch, int quietZone) {
    return n >= 1 && cellPitch >= 1 && quietZone >= 0 && Measure(n, cellPitch, quietZone);
}

std::vector<uint8_t> BuildBitmapFile(const uint8_t* matrix, int n, int cellPitch, int quietZone) {
    if (!Drawable(matrix, n, cellPitch, quietZone)) return {};
    const std::optional<Dimensions> size = Measure(n, cellPitch, quietZone);
    if (!size) return {};
    const size_t s = size->stride;
    const size_t h = size->side;
    const size_t imageBytes = s * h;

    std::vector<uint8_t> file(kHeaderBytes + imageBytes, 0xFF);
    // File header and information header; everything not set below is zero.
    std::fill(file.begin(), file.begin() + kHeaderBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe(file, 2, static_cast<uint32_t>(kHeaderBytes + imageBytes), 4);
    PutLe(file, 10, kHeaderBytes, 4);
    PutLe(file, 14, 40, 4);
    PutLe(file, 18, static_cast<uint32_t>(h), 4);
    PutLe(file, 22, static_cast<uint32_t>(h), 4);  // positive: rows stored bottom-up
    PutLe(file, 26, 1, 2);
    PutLe(file, 28, 24, 2);
    PutLe(file, 34, static_cast<uint32_t>(imageBytes), 4);

    // Image row y (0 = top) is stored as file row h - 1 - y.
    uint8_t* pixels = file.data() + kHeaderBytes;
    const size_t p = static_cast<size_t>(cellPitch);
    const size_t q = static_cast<size_t>(quietZone);
    for (size_t i = 0; i < size_t(n); ++i) {
        for (size_t j = 0; j < size_t(n); ++j) {
            if (!encoder::IsDark(matrix[i * n + j])) continue;
            for (size_t dy = 0; dy < p; ++dy) {
                size_t y = p * (q + i) + dy;
                uint8_t* row = pixels + (h - 1 - y) * s;
                std::fill(row + 3 * p * (q + j), row + 3 * p * (q + j + 1), 0x00);
            }
        }
    }
    return file;
}

BitmapResult WriteBitmapFile(const std::string& path, const uint8_t* matrix, int n, int cellPitch,
                             int quietZone) {
    if (!Drawable(matrix, n, cellPitch, quietZone)) return BitmapResult::kWriteFailed;
    if (!BitmapSizeAllowed(n, cellPitch, quietZone)) return BitmapResult::kTooLarge;
    const std::vector<uint8_t> file = BuildBitmapFile(matrix, n, cellPitch, quietZone);
    const int rc = WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    return rc == 0 ? BitmapResult::kWritten : BitmapResult::kWriteFailed;
}

}  // namespace tirrel
