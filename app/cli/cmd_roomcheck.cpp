// taviron-cli roomcheck FILE [--fix OUT]: whether the room's faces form a
// closed shell facing inwards; --fix writes the project with the faces the
// check inverted.
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/project_file.h"
#include "reflections/room_check.h"

namespace tav::cli {

namespace {

int runRoomCheckCommand(const std::string& path, const std::string& fixPath) {
  ProjectLoadResult loaded = loadProjectReporting(path);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  Project& project = loaded.project;
  int lastTenth = -1;
  RoomCheckCallbacks callbacks;
  callbacks.progress = [&lastTenth](double percent) {
    const int tenth = static_cast<int>(percent / 10);
    if (tenth != lastTenth) {
      lastTenth = tenth;
      std::cerr << ROOM_SCAN_PROGRESS_TITLE << " " << roomScanProgressText(percent) << "\n";
    }
    return false;
  };
  const RoomCheckResult r = runRoomCheck(project, callbacks);
  if (!r.tableMessage.empty()) {
    // The room could not be checked at all: say why, and fail.
    printError(r.tableMessage.text);
    nlohmann::json out;
    out["message"] = r.tableMessage.text;
    out["caption"] = r.tableMessage.caption;
    out["inverted"] = 0;
    out["errorPercent"] = nullptr;
    out["flags"] = nlohmann::json::array();
    std::cout << out.dump(2) << std::endl;
    return EXIT_FILE_ERROR;
  }

  nlohmann::json out;
  out["message"] = r.message.text;
  out["caption"] = r.message.caption;
  out["inverted"] = r.inverted;
  out["errorPercent"] = r.errorPercent ? nlohmann::json(*r.errorPercent) : nlohmann::json(nullptr);
  out["flags"] = r.flagLabels();

  if (!fixPath.empty()) {
    const UserMessage saved = saveProjectAs(project, fixPath);
    if (!saved.empty()) {
      printError(saved.text);
      return EXIT_FILE_ERROR;
    }
  }
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "roomcheck",
    "Check that the room's faces close and face inwards, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      auto fix = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      app.add_option("--fix", *fix, "Write the project with the inverted faces to this file");
      return std::function<int()>([path, fix] { return runRoomCheckCommand(*path, *fix); });
    },
}};

}  // namespace

}  // namespace tav::cli
