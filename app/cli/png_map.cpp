#include "png_map.h"

#include <map>

#include "cli_command.h"
#include "mapping/map_scale.h"

#ifdef TAVIRON_CLI_HAS_RENDER
#include "mapping/ui/map_drawing.h"
#include "model/text_encoding.h"
#include "platform/qt/render_image.h"
#include "view/axis_cross.h"
#include "view/view_zoom.h"
#endif

namespace tav::cli {

namespace {

const std::map<std::string, int> MODES = {{"ld", MAP_MODE_LD},
                                          {"lt", MAP_MODE_LT},
                                          {"time", MAP_MODE_TIME},
                                          {"sti", MAP_MODE_STI},
                                          {"ldlr", MAP_MODE_LDLR}};
const std::map<std::string, int> BANDS = {{"125", 0},  {"250", 1},           {"500", 2},
                                          {"1000", 3}, {"2000", 4},          {"4000", 5},
                                          {"8000", 6}, {"all", MAP_BAND_ALL}};

}  // namespace

void addMapImageOptions(CLI::App& app, MapImageOptions& o) {
  app.add_option("--png", o.png, "PNG file of the map picture");
  app.add_option("--mode", o.mode, "ld, lt, time, sti or ldlr (default ld)")
      ->check(CLI::IsMember({"ld", "lt", "time", "sti", "ldlr"}));
  app.add_option("--band", o.band, "125, 250, 500, 1000, 2000, 4000, 8000 or all (default all)")
      ->check(CLI::IsMember({"125", "250", "500", "1000", "2000", "4000", "8000", "all"}));
  app.add_option("--size", o.size, "Picture size WIDTHxHEIGHT in pixels (default 1024x768)");
}

bool writeMapImage(const Project& project, const MapImageOptions& o, ImageSize size) {
#ifdef TAVIRON_CLI_HAS_RENDER
  if (!project.levelMap) return false;
  ViewState view;
  const PixelRect area = mapViewArea(size.width, size.height);
  setViewSize(view, area.width, area.height);
  const int mode = project.settings.view >= VIEW_XY && project.settings.view <= VIEW_3D
                       ? project.settings.view
                       : VIEW_3D;
  selectView(view, project.objects, mode);
  if (mode != VIEW_3D) zoomAll(view, project.objects);
  const auto cross = loadAxisCross();

  MapPicture pic;
  pic.project = &project;
  pic.map = &*project.levelMap;
  pic.axisCross = cross.get();
  pic.mode = MODES.at(o.mode);
  pic.band = BANDS.at(o.band);
  pic.stepIndex = project.settings.calculation.scaleStep;
  pic.field = reverberantEnergy(project);
  pic.projectPath = cp1252ToUtf8(project.name);
  pic.description = cp1252ToUtf8(project.description);
  pic.diag = diagnosticToStderr;
  if (!renderToPng(
          size.width, size.height, [&](Canvas& c) { paintMap(c, view, pic); }, o.png)) {
    printError("Cannot write the image " + o.png);
    return false;
  }
  return true;
#else
  (void)project;
  (void)size;
  printError("This build of taviron-cli draws no images: " + o.png + " not written");
  return false;
#endif
}

}  // namespace tav::cli
