// The exported image: a 24-bit Windows bitmap of the symbol with a white quiet zone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tirrel {

// The file's bytes for an N x N matrix (1 = dark) with `cellPitch` pixels per module and a
// quiet zone of `quietZone` modules. Empty when cellPitch < 1, quietZone < 0 or the image
// would be absurdly large.
std::vector<uint8_t> BuildBitmapFile(const uint8_t* matrix, int n, int cellPitch, int quietZone);

// Writes the bitmap atomically. 0 = written; -1 = refused or the write failed, in which
// case an existing file at `path` is left as it was and no partial file remains.
int WriteBitmapFile(const std::string& path, const uint8_t* matrix, int n, int cellPitch,
                    int quietZone);

}  // namespace tirrel
