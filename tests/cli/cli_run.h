// Runs taviron-cli as a user runs it: stdout collected, stderr through a file
// of this test process, the exit code of a normal exit (-1 otherwise).
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace tavtest {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs a program of the build with arguments (a shell command line).
inline CliRun runProgram(const std::string& program, const std::string& args) {
  const std::filesystem::path errFile =
      std::filesystem::temp_directory_path() / ("taviron_cli_err_" + std::to_string(::getpid()));
  const std::string cmd = program + " " + args + " 2>" + errFile.string();
  CliRun r;
  FILE* pipe = ::popen(cmd.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
  const int status = ::pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream e(errFile);
  r.err.assign(std::istreambuf_iterator<char>(e), {});
  std::filesystem::remove(errFile);
  return r;
}

inline CliRun runCli(const std::string& args) { return runProgram(TAVIRON_CLI_PATH, args); }

// Runs taviron-cli expecting success: its JSON output (null, and the failure
// reported, otherwise).
inline nlohmann::json runCliJson(const std::string& args) {
  const CliRun r = runCli(args);
  EXPECT_EQ(r.exitCode, 0) << args << ": " << r.err;
  return r.exitCode == 0 ? nlohmann::json::parse(r.out) : nlohmann::json();
}

// Runs taviron-cli expecting a failure: the exit code, and `message` on
// standard error.
inline CliRun runCliFailing(const std::string& args, int exitCode, const std::string& message) {
  CliRun r = runCli(args);
  EXPECT_EQ(r.exitCode, exitCode) << args;
  EXPECT_NE(r.err.find(message), std::string::npos) << args << ": " << r.err;
  return r;
}

}  // namespace tavtest
