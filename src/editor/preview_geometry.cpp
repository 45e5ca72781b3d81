#include "editor/preview_geometry.h"

namespace tagloom {
namespace {

constexpr std::int64_t kBox = 3200;
constexpr double kLeft = 120, kTop = 180;

}  // namespace

PreviewPlacement PlacePreview(std::int64_t width, std::int64_t height) {
  PreviewPlacement place;
  if (width > height) {
    place.height = static_cast<double>(height * kBox) / static_cast<double>(width);
    place.top = (kBox - place.height) / 2 + kTop;
  } else if (width < height) {
    place.width = static_cast<double>(width * kBox) / static_cast<double>(height);
    place.left = (kBox - place.width) / 2 + kLeft;
  }
  return place;
}

}  // namespace tagloom
