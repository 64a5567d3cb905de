// One QApplication for the Qt tests of this executable (offscreen platform).
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tav::test {

inline QApplication& qtApp() {
  static int argc = 1;
  static char name[] = "test_platform";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: Qt's own globals may be gone by the time static
  // objects are destroyed at exit.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Runs `action` on the modal widget once one is shown (polling the event
// loop), so a test can press buttons of a dialog that blocks in exec().
inline void whenModalShown(std::function<void(QWidget*)> action, int attempts = 200) {
  QTimer::singleShot(0, [action, attempts] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      action(modal);
    } else if (attempts > 0) {
      whenModalShown(action, attempts - 1);
    }
  });
}

}  // namespace tav::test
