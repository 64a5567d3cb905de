// taviron [FILE.TPR]: the desktop application. Starts with an empty project,
// or opens the project given on the command line.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/qt/qt_platform.h"
#include "shell/command_set.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Taviron"));
  QApplication::setApplicationVersion(QStringLiteral("2.90"));
  QApplication::setDesktopFileName(QStringLiteral("taviron"));

  const QStringList args = QApplication::arguments();
  if (args.size() > 2) {
    std::fprintf(stderr, "usage: taviron [FILE.TPR]\n");
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
  if (args.size() == 2) shell.openProjectFile(args[1].toStdString());
  return shell.run();
}
