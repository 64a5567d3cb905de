// taviron-cli render FILE --view xy|yz|xz|3d --size WxH --out FILE.png:
// draws a view of a project into a PNG with the program's own drawing code
// (wireframe, zoom all), so views can be checked without a display.
#ifdef TAVIRON_CLI_HAS_RENDER

#include <cctype>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli_command.h"
#include "cli_size.h"
#include "model/project_file.h"
#include "model/project_settings.h"
#include "platform/qt/render_image.h"
#include "view/view_render.h"

namespace tav::cli {

namespace {

const std::map<std::string, int> VIEWS = {
    {"xy", VIEW_XY},
    {"yz", VIEW_YZ},
    {"xz", VIEW_XZ},
    {"3d", VIEW_3D},
};

struct RenderOptions {
  std::string path;
  std::string view = "xy";
  std::string size = "1024x768";
  std::string out;
};

int runRender(const RenderOptions& options) {
  const std::optional<ImageSize> size = parseImageSize(options.size);
  if (!size) {
    printError("Invalid size \"" + options.size + "\": expected WIDTHxHEIGHT, each 1.." +
               std::to_string(MAX_IMAGE_SIDE));
    return EXIT_USAGE;
  }
  std::string view = options.view;
  for (char& c : view) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto found = VIEWS.find(view);
  if (found == VIEWS.end()) {
    printError("Unknown view \"" + options.view + "\": expected xy, yz, xz or 3d");
    return EXIT_USAGE;
  }
  const int mode = found->second;
  ProjectLoadResult loaded = loadProjectReporting(options.path);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  const Project& project = loaded.project;
  const bool written = renderToPng(
      size->width, size->height, [&](Canvas& canvas) { renderFittedView(project, mode, canvas); },
      options.out);
  if (!written) {
    printError("Cannot write the image " + options.out);
    return EXIT_FILE_ERROR;
  }
  nlohmann::json out;
  out["file"] = options.out;
  out["view"] = view;
  out["width"] = size->width;
  out["height"] = size->height;
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "render",
    "Draw a view of a project into a PNG image (wireframe, zoom all)",
    [](CLI::App& app) {
      auto options = std::make_shared<RenderOptions>();
      app.add_option("file", options->path, "Project file (.TPR)")->required();
      app.add_option("--view", options->view, "xy, yz, xz or 3d (default xy)")
          ->check(CLI::IsMember({"xy", "yz", "xz", "3d"}, CLI::ignore_case));
      app.add_option("--size", options->size,
                     "Picture size WIDTHxHEIGHT in pixels (default 1024x768)");
      app.add_option("--out", options->out, "PNG file to write")->required();
      return std::function<int()>([options] { return runRender(*options); });
    },
}};

}  // namespace

}  // namespace tav::cli

#endif  // TAVIRON_CLI_HAS_RENDER
