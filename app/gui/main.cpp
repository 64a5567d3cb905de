// taviron [FILE.TPR]: the desktop application. Starts with an empty project,
// or opens the project given on the command line.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/qt/qt_platform.h"
#include "shell/command_set.h"
#include "shell/shell.h"

namespace {

constexpr const char* VERSION_TEXT =
    "taviron 2.90\n"
    "Copyright (C) The Taviron developers.\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

constexpr const char* HELP_TEXT =
    "Usage: taviron [OPTION]... [FILE.TPR]\n"
    "Design room acoustics and sound-reinforcement systems: build a 3D room,\n"
    "give its faces absorber materials, place loudspeakers and compute the\n"
    "reverberation time, coverage maps, reflections and an auralization.\n"
    "\n"
    "Opens FILE.TPR, a Taviron project, or starts with an empty project.\n"
    "\n"
    "Options:\n"
    "  -h, --help       display this help and exit\n"
    "      --version    output version information and exit\n"
    "\n"
    "The usual Qt options (for example -platform, -style) are understood too.\n"
    "The manual opens from the Help menu; taviron-cli runs the same engine\n"
    "from the command line.\n";

// --help and --version are answered before a window system is needed, so
// they work without a display (help2man runs them at build time).
int answerInformationOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(HELP_TEXT, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(VERSION_TEXT, stdout);
      return 0;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int code = answerInformationOption(argc, argv); code >= 0) return code;

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Taviron"));
  QApplication::setApplicationVersion(QStringLiteral("2.90"));
  QApplication::setDesktopFileName(QStringLiteral("taviron"));

  const QStringList args = QApplication::arguments();
  if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(QLatin1Char('-')))) {
    std::fprintf(stderr, "usage: taviron [FILE.TPR]\nTry 'taviron --help' for more information.\n");
    return 2;
  }

  // Installed, the data lies in share/taviron beside bin/; run from the build
  // tree, the shell falls back to the source tree's data folder.
  tav::ShellOptions options;
  const std::filesystem::path installed =
      std::filesystem::path(QApplication::applicationDirPath().toStdString()) / ".." / "share" /
      "taviron";
  std::error_code ec;
  if (std::filesystem::is_directory(installed / "examples", ec))
    options.dataFolder = std::filesystem::weakly_canonical(installed, ec).string();

  tav::QtPlatform platform;
  tav::Shell shell(platform, options);
  tav::registerAllCommands(shell);
  if (!shell.start()) return 1;
  // The project is named by its full path: Save writes back to it, and the
  // title and the recent files name it whatever folder the program started in.
  if (args.size() == 2) shell.openProjectFile(QFileInfo(args[1]).absoluteFilePath().toStdString());
  return shell.run();
}
