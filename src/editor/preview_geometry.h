// Where the preview picture stands in its frame: a box of 3200 x 3200 twips
// at left 120, top 180, the picture scaled to fill it along its longer side
// and centred along the other.
#pragma once

#include <cstdint>

namespace tagloom {

struct PreviewPlacement {
  double left = 120, top = 180, width = 3200, height = 3200;  // twips
};

// The placement of a picture of `width` x `height` (any unit, upright). The
// products are 64-bit, so no picture is too large; an empty one is square.
PreviewPlacement PlacePreview(std::int64_t width, std::int64_t height);

}  // namespace tagloom
