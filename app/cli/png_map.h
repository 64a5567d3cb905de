// The map picture of the map window drawn into a PNG file (levelmap --png).
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "cli_size.h"
#include "model/project.h"

namespace tav::cli {

struct MapImageOptions {
  std::string png;
  std::string mode = "ld";
  std::string band = "all";
  std::string size = "1024x768";
};

void addMapImageOptions(CLI::App& app, MapImageOptions& options);

// Draws the project's map (cells over the project's view fitted to the
// picture, legend, frame) into options.png. False, with the reason on
// stderr, when the file cannot be written or this build draws no images.
bool writeMapImage(const Project& project, const MapImageOptions& options, ImageSize size);

}  // namespace tav::cli
