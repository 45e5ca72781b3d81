// Window geometry is laid out in twips (1/1440 inch): 15 twips to a
// device-independent pixel at 96 dpi. Qt scales those pixels on high-dpi
// screens, so this one conversion is all the layout needs.
#pragma once

#include <QRect>
#include <QSize>

namespace tagloom::ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
constexpr int Px(double twips) {
  return static_cast<int>(twips / kTwipsPerPixel + 0.5);
}

inline QRect TwipsRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

}  // namespace tagloom::ui
