// The split with the fewest bits: a shortest path over the modes, for the count-indicator
// widths of one version class. The greedy splitter stays the default; this one is used when
// its result does not fit, or when asked for.
#pragma once

#include <string_view>
#include <vector>

#include "encoder/segmenting.h"

namespace tirrel::encoder {

// Segments whose encoding at `version` has the fewest bits; `chinese` allows the Chinese
// mode. Linear in the payload. A segment is not cut at its count limit here: in every
// version class that limit lies beyond the largest symbol of the class.
[[nodiscard]] std::vector<Segment> OptimalSegments(std::string_view payload, int version,
                                                   bool chinese);

}  // namespace tirrel::encoder
