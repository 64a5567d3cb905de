// Off-screen rendering for the command-line tool; no Qt types in this header.
#pragma once

#include <string>

#include "platform/canvas.h"

namespace tav {

// Draws a width x height picture on white through paint.
RgbImage renderPicture(int width, int height, const PaintFunction& paint);
// Same, written as a PNG file. False when the file cannot be written.
bool renderToPng(int width, int height, const PaintFunction& paint, const std::string& path);

}  // namespace tav
