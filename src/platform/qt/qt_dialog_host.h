// Modal dialog built from a template; the handler runs on control events.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>

#include "platform/dialog.h"
#include "platform/qt/qt_controls.h"

namespace tav {

class QtDialog : public QDialog {
  Q_OBJECT
 public:
  // The template must pass checkDialogTemplate.
  QtDialog(const DialogTemplate& dialog, DialogHandler& handler, QWidget* parent);

  // onInit, then the modal loop unless the handler already ended the dialog.
  int run();
  QtControlSet& controls() { return *controls_; }

  void reject() override;  // Escape and the close box ask the handler

 private:
  DialogHandler& handler_;
  QtControlSet* controls_ = nullptr;
  std::optional<int> endedEarly_;
  bool running_ = false;
};

// Builds and runs a dialog; nothing when the template cannot be built.
std::optional<int> runQtDialog(const DialogTemplate& dialog, DialogHandler& handler,
                               QWidget* parent);

}  // namespace tav
