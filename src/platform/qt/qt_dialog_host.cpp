#include "platform/qt/qt_dialog_host.h"

#include "platform/qt/qt_text.h"

namespace tav {

QtDialog::QtDialog(const DialogTemplate& dialog, DialogHandler& handler, QWidget* parent)
    : QDialog(parent), handler_(handler) {
  setWindowTitle(toQString(dialog.title));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ControlCallbacks callbacks;
  callbacks.event = [this](int id, DialogEventKind kind) {
    handler_.onCommand(id, kind, *controls_);
  };
  callbacks.scroll = [this](int id, ScrollAction action, int position) {
    handler_.onScroll(id, action, position, *controls_);
  };
  callbacks.paint = [this](int id, Canvas& canvas) { handler_.onPaint(id, canvas); };
  callbacks.paintClick = [this](int id, PixelPoint at) {
    handler_.onPaintAreaClick(id, at, *controls_);
  };
  callbacks.end = [this](int result) {
    if (running_) {
      done(result);
    } else if (!endedEarly_) {
      endedEarly_ = result;
    }
  };
  callbacks.title = [this](std::string_view title) { setWindowTitle(toQString(title)); };
  controls_ = new QtControlSet(dialog, this, std::move(callbacks));
}

int QtDialog::run() {
  handler_.onInit(*controls_);
  if (endedEarly_) return *endedEarly_;
  running_ = true;
  const int result = exec();
  running_ = false;
  return result;
}

void QtDialog::reject() {
  if (handler_.onClose(*controls_)) done(DLG_CANCEL);
}

std::optional<int> runQtDialog(const DialogTemplate& dialog, DialogHandler& handler,
                               QWidget* parent) {
  if (!checkDialogTemplate(dialog).empty()) return std::nullopt;
  QtDialog host(dialog, handler, parent);
  return host.run();
}

}  // namespace tav
