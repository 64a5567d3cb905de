// The platform on Qt 6 Widgets. A QApplication must exist before it is made.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/audio.h"
#include "platform/platform.h"
#include "platform/qt/qt_help_window.h"
#include "platform/qt/qt_progress_window.h"

namespace tav {

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  std::unique_ptr<MainWindow> createMainWindow(MainWindowEvents& events) override;

  bool processEvents(bool wait) override;
  void quit() override;
  bool quitting() const override { return quitting_; }

  MessageResult showMessage(std::string_view text, std::string_view caption = {},
                            MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None) override;
  std::optional<std::string> inputLine(std::string_view prompt, std::string_view text,
                                       int maxLength) override;
  std::optional<std::string> openFileName(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileName(const FileDialogRequest& request) override;

  void progressOpen(std::string_view title, std::string_view text,
                    std::string_view buttonText) override;
  bool progressUpdate(int percent, std::string_view text) override;
  void progressClose() override;

  std::optional<int> runDialog(const DialogTemplate& dialog, DialogHandler& handler) override;
  bool runWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler) override;

  std::unique_ptr<PrintJob> choosePrinter(std::string_view jobTitle) override;
  bool printPicture(std::string_view jobTitle, int width, int height,
                    const PaintFunction& paint) override;
  bool copyPictureToClipboard(int width, int height, const PaintFunction& paint) override;

  bool openHelp(std::string_view fileOrUrl, std::string_view anchor) override;
  // PortAudio, initialised on first use.
  AudioOutput& audio() override;

  // Owner of dialogs and message boxes (the main window while it exists).
  QWidget* owner() const { return owner_.data(); }
  QtProgressWindow* progressWindow() const { return progress_.data(); }
  QtHelpWindow* helpWindow() const { return help_.data(); }

 private:
  QPointer<QWidget> owner_;
  QPointer<QtProgressWindow> progress_;
  QPointer<QtHelpWindow> help_;
  bool quitting_ = false;
  std::unique_ptr<AudioOutput> audio_;
  QMetaObject::Connection quitConnection_;
};

}  // namespace tav
