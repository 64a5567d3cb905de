// taviron-cli convert IN OUT: read any project version, write the current one
// exactly as Save as does (".TPR" appended, "_old.TPR" backup).
#include <iostream>

#include "cli_command.h"
#include "model/project_file.h"

namespace tav::cli {

namespace {

int runConvert(const std::string& in, const std::string& out) {
  ProjectLoadResult loaded = loadProjectReporting(in);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  UserMessage error = saveProjectAs(loaded.project, out);
  if (!error.empty()) {
    printError(error.text);
    return EXIT_FILE_ERROR;
  }
  std::cerr << "Wrote " << loaded.project.name << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "convert",
    "Read a project of any version and write it in the current format",
    [](CLI::App& app) {
      auto in = std::make_shared<std::string>();
      auto out = std::make_shared<std::string>();
      app.add_option("input", *in, "Project file to read")->required();
      app.add_option("output", *out, "Project file to write (.TPR is appended when missing)")
          ->required();
      return std::function<int()>([in, out] { return runConvert(*in, *out); });
    },
}};

}  // namespace

}  // namespace tav::cli
