// The exported image: a 24-bit Windows bitmap of the symbol with a white quiet zone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tirrel {

// Why a bitmap was or was not written. A refused size is the user's settings, not the disk.
enum class [[nodiscard]] BitmapResult{
    kWritten,
    kTooLarge,     // more than 65,535 pixels a side or 256 MiB of pixels
    kWriteFailed,  // the file could not be written, or there is nothing sensible to draw
};

// Whether an n x n matrix at these settings stays within the size limits. Every size is
// computed in 64 bits with the side checked first, so no setting can overflow.
[[nodiscard]] bool BitmapSizeAllowed(int n, int cellPitch, int quietZone);

// The file's bytes for an N x N matrix (1 = dark) with `cellPitch` pixels per module and a
// quiet zone of `quietZone` modules. Empty when cellPitch < 1, quietZone < 0 or the size is
// not allowed; nothing is allocated then.
[[nodiscard]] std::vector<uint8_t> BuildBitmapFile(const uint8_t* matrix, int n, int cellPitch,
                                                   int quietZone);

// Writes the bitmap atomically. On anything but kWritten an existing file at `path` is left
// as it was and no partial file remains.
BitmapResult WriteBitmapFile(const std::string& path, const uint8_t* matrix, int n, int cellPitch,
                             int quietZone);

}  // namespace tirrel
