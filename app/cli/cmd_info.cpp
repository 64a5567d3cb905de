// taviron-cli info FILE: what a project (or loudspeaker database) holds.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/text_encoding.h"
#include "project_json.h"
#include "speaker_info.h"

namespace tav::cli {

namespace {

// A loudspeaker database by its magic, or by its extension when the file
// does not even start like one (the reader then names the fault).
bool isSpeakerDatabase(const std::string& path) {
  char head[24] = {};
  std::ifstream in(path, std::ios::binary);
  if (in.read(head, sizeof head) && std::string(head, sizeof head) == "TAVIRON SPEAKER DATABASE")
    return true;
  std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext == ".TSB";
}

int runDatabaseInfo(const std::string& path) {
  const nlohmann::json info = speakerDatabaseInfo(path);
  if (info.contains("error")) {
    printError(info["error"].get<std::string>());
    return EXIT_FILE_ERROR;
  }
  std::cout << info.dump(2) << std::endl;
  return EXIT_OK;
}

int runInfo(const std::string& path) {
  if (isSpeakerDatabase(path)) return runDatabaseInfo(path);
  ProjectLoadResult loaded = loadProjectReporting(path);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  std::cout << projectInfoJson(loaded).dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "info",
    "Print what a project file or loudspeaker database holds, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR) or loudspeaker database (.TSB)")
          ->required();
      return std::function<int()>([path] { return runInfo(*path); });
    },
}};

}  // namespace

}  // namespace tav::cli
