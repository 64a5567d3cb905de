#include "platform/qt/render_image.h"

#include <QGuiApplication>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_text.h"

namespace tav {

namespace {

// Text needs a GUI application object; a command-line run has none, so one
// is made on the offscreen platform for the rest of the process.
void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "taviron";
  static char* argv[] = {name, nullptr};
  // Deliberately never destroyed: at process exit Qt's own globals may
  // already be gone.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace

RgbImage renderPicture(int width, int height, const PaintFunction& paint) {
  ensureGuiApplication();
  return toRgbImage(renderToImage(width, height, paint));
}

bool renderToPng(int width, int height, const PaintFunction& paint, const std::string& path) {
  ensureGuiApplication();
  return renderToImage(width, height, paint).save(toQString(path), "PNG");
}

}  // namespace tav
