// taviron-cli faces FILE: the face listing of a project (every room face
// with its area, material, bounds and absorption, and the totals), as JSON.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "materials/face_listing.h"
#include "model/project_file.h"
#include "model/text_encoding.h"
#include "reflections/face_table.h"

namespace tav::cli {

namespace {

int runFaces(const std::string& path) {
  ProjectLoadResult loaded = loadProjectReporting(path);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  FaceTable table;
  const FaceTableBuild built = buildFaceTable(loaded.project, table);
  if (!built.ok()) {
    // No listing can be made: say why, and fail.
    printError(built.message.text);
    nlohmann::json out;
    out["message"] = built.message.text;
    out["faces"] = nlohmann::json::array();
    std::cout << out.dump(2) << std::endl;
    return EXIT_FILE_ERROR;
  }
  sortFacesForReflections(table);
  const FaceListing listing = buildFaceListing(table, loaded.project.materials);

  nlohmann::json faces = nlohmann::json::array();
  for (const FaceListingRow& row : listing.rows) {
    faces.push_back({
        {"number", row.number},
        {"area", row.area},
        {"material", cp1252ToUtf8(row.materialName)},
        {"bounds", row.bounds},
        {"absorption", row.absorption},
    });
  }
  nlohmann::json out;
  out["faces"] = std::move(faces);
  out["totals"] = {{"area", listing.totalArea}, {"absorption", listing.totalAbsorption}};
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "faces",
    "Print the room faces with area, material, bounds and absorption, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      return std::function<int()>([path] { return runFaces(*path); });
    },
}};

}  // namespace

}  // namespace tav::cli
