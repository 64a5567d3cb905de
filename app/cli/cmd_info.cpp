// taviron-cli info FILE: what a project (or loudspeaker database) holds.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/text_encoding.h"
#include "project_json.h"

namespace tav::cli {

namespace {

int runInfo(const std::string& path) {
  ProjectLoadResult loaded = loadProject(path);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  std::cout << projectInfoJson(loaded).dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "info",
    "Print what a project file holds, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      return std::function<int()>([path] { return runInfo(*path); });
    },
}};

}  // namespace

}  // namespace tav::cli
