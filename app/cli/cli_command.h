// Subcommands of taviron-cli register themselves here, one file each.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace tav {
struct ProjectLoadResult;
}

namespace tav::cli {

// Exit codes shared by all subcommands.
constexpr int EXIT_OK = 0;
constexpr int EXIT_USAGE = 1;
// A file could not be read or written, or its content cannot be processed
// (the message on stderr and, where there is a result, in it).
constexpr int EXIT_FILE_ERROR = 2;

struct CliCommand {
  std::string name;
  std::string description;
  // Declares the subcommand's options on `app` and returns the action that
  // runs after parsing (its result is the exit code).
  std::function<std::function<int()>(CLI::App& app)> setup;
};

std::vector<CliCommand>& cliCommands();

struct CliCommandRegistration {
  explicit CliCommandRegistration(CliCommand command) {
    cliCommands().push_back(std::move(command));
  }
};

// Prints a user message (the GUI's text) on stderr.
void printError(const std::string& text);

// loadProject, with the reason of a failure, or the count of damaged index
// entries left out, on stderr as the desktop application would say it.
ProjectLoadResult loadProjectReporting(const std::string& path);

}  // namespace tav::cli
