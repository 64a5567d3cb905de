// taviron [FILE.TPR]: the desktop application. Starts with an empty project,
// or opens the project given on the command line.
#include <QApplication>
#include <QIcon>
#include <cstdio>
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

  tav::QtPlatform platform;
  tav::Shell shell(platform);
  tav::registerAllCommands(shell);
  if (!shell.start()) return 1;
  if (args.size() == 2) shell.openProjectFile(args[1].toStdString());
  return shell.run();
}
