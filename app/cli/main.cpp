// taviron-cli: the engine on files, JSON on stdout, progress on stderr.
#include <iostream>
#include <map>

#include "cli_command.h"
#include "model/project_file.h"

namespace tav::cli {

std::vector<CliCommand>& cliCommands() {
  static std::vector<CliCommand> commands;
  return commands;
}

void printError(const std::string& text) { std::cerr << text << std::endl; }

ProjectLoadResult loadProjectReporting(const std::string& path) {
  ProjectLoadResult loaded = loadProject(path);
  if (!loaded.ok()) {
    printError(loaded.error.text);
  } else if (const UserMessage dropped = droppedEntriesMessage(loaded.droppedEntries);
             !dropped.empty()) {
    printError(dropped.text);
  }
  return loaded;
}

}  // namespace tav::cli

int main(int argc, char** argv) {
  using namespace tav::cli;
  CLI::App app{"Taviron command-line tool: room acoustics and sound-reinforcement engine"};
  app.name("taviron-cli");
  app.set_version_flag("--version",
                       "taviron-cli 2.90\n"
                       "Copyright (C) The Taviron developers.\n"
                       "License GPLv3+: GNU GPL version 3 or later "
                       "<https://gnu.org/licenses/gpl.html>.\n"
                       "This is free software: you are free to change and redistribute it.\n"
                       "There is NO WARRANTY, to the extent permitted by law.");
  app.footer(
      "Each subcommand has its own --help. Results go to standard output as JSON,\n"
      "messages to standard error; a file that cannot be read exits with 2.");
  app.require_subcommand(1);
  std::map<CLI::App*, std::function<int()>> actions;
  for (const CliCommand& command : cliCommands()) {
    CLI::App* sub = app.add_subcommand(command.name, command.description);
    actions[sub] = command.setup(*sub);
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? EXIT_OK : EXIT_USAGE;
  }
  for (auto& [sub, action] : actions)
    if (sub->parsed()) return action();
  return EXIT_USAGE;
}
