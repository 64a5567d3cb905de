#include "platform/canvas.h"

#include <algorithm>

namespace tav {

RgbImage::RgbImage(int w, int h, Rgb fill) : width(std::max(0, w)), height(std::max(0, h)) {
  rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  for (std::size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = fill.r;
    rgb[i + 1] = fill.g;
    rgb[i + 2] = fill.b;
  }
}

Rgb RgbImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                        3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void RgbImage::setPixel(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x)) *
                        3;
  rgb[i] = c.r;
  rgb[i + 1] = c.g;
  rgb[i + 2] = c.b;
}

}  // namespace tav
