#include "platform/qt/qt_platform.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

#include "platform/main_window.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_child_window.h"
#include "platform/qt/qt_dialog_host.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_help_window.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/qt_progress_window.h"
#include "platform/qt/qt_text.h"

namespace tav {

QtPlatform::QtPlatform() {
  quitConnection_ =
      QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [this] { quitting_ = true; });
}

QtPlatform::~QtPlatform() {
  QObject::disconnect(quitConnection_);
  if (progress_) delete progress_.data();
  if (help_ && help_->parent() == nullptr) delete help_.data();
}

std::unique_ptr<MainWindow> QtPlatform::createMainWindow(MainWindowEvents& events) {
  auto window = std::make_unique<QtMainWindow>(events);
  owner_ = window.get();
  return window;
}

bool QtPlatform::processEvents(bool wait) {
  if (quitting_) return false;
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
  return !quitting_;
}

void QtPlatform::quit() {
  quitting_ = true;
  // Wake a processEvents that is waiting.
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) d->wakeUp();
  QCoreApplication::quit();
}

MessageResult QtPlatform::showMessage(std::string_view text, std::string_view caption,
                                      MessageButtons buttons, MessageIcon icon) {
  QMessageBox box(owner());
  box.setWindowTitle(toQString(messageCaptionOrDefault(caption)));
  box.setText(toQString(text));
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Stop:
      box.setIcon(QMessageBox::Critical);
      break;
  }
  QMessageBox::StandardButtons set;
  QMessageBox::StandardButton first = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::Ok:
      set = QMessageBox::Ok;
      break;
    case MessageButtons::OkCancel:
      set = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case MessageButtons::OkCancelDefaultCancel:
      set = QMessageBox::Ok | QMessageBox::Cancel;
      first = QMessageBox::Cancel;
      break;
    case MessageButtons::YesNo:
      set = QMessageBox::Yes | QMessageBox::No;
      first = QMessageBox::Yes;
      break;
    case MessageButtons::YesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      first = QMessageBox::Yes;
      break;
    case MessageButtons::RetryCancel:
      set = QMessageBox::Retry | QMessageBox::Cancel;
      first = QMessageBox::Retry;
      break;
    case MessageButtons::SaveDiscardCancel:
      set = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
      first = QMessageBox::Cancel;
      break;
  }
  box.setStandardButtons(set);
  box.setDefaultButton(first);
  switch (box.exec()) {
    case QMessageBox::Ok:
      return MessageResult::Ok;
    case QMessageBox::Yes:
      return MessageResult::Yes;
    case QMessageBox::No:
      return MessageResult::No;
    case QMessageBox::Retry:
      return MessageResult::Retry;
    case QMessageBox::Save:
      return MessageResult::Save;
    case QMessageBox::Discard:
      return MessageResult::Discard;
    default:
      // Escape or the close box: Cancel where offered; a lone OK counts as OK,
      // a Yes/No box as No.
      if (buttons == MessageButtons::Ok) return MessageResult::Ok;
      if (buttons == MessageButtons::YesNo) return MessageResult::No;
      return MessageResult::Cancel;
  }
}

std::optional<std::string> QtPlatform::inputLine(std::string_view prompt, std::string_view text,
                                                 int maxLength) {
  QInputDialog dialog(owner());
  dialog.setObjectName(QStringLiteral("DIALOG_3"));
  dialog.setWindowTitle(toQString(prompt));
  dialog.setLabelText(toQString(prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(toQString(text));
  if (QLineEdit* edit = dialog.findChild<QLineEdit*>()) {
    if (maxLength > 0) edit->setMaxLength(maxLength);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QString value = dialog.textValue();
  if (maxLength > 0 && value.size() > maxLength) value.truncate(maxLength);
  return toUtf8(value);
}

std::optional<std::string> QtPlatform::openFileName(const FileDialogRequest& request) {
  return runOpenFileDialog(request, owner());
}

std::optional<std::string> QtPlatform::saveFileName(const FileDialogRequest& request) {
  return runSaveFileDialog(request, owner());
}

void QtPlatform::progressOpen(std::string_view title, std::string_view text,
                              std::string_view buttonText) {
  progressClose();
  progress_ =
      new QtProgressWindow(toQString(title), toQString(text), toQString(buttonText), owner());
  progress_->show();
  progress_->raise();
}

bool QtPlatform::progressUpdate(int percent, std::string_view text) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (!progress_) return false;
  if (progress_->cancelled()) return true;
  progress_->setProgress(percent, toQString(text));
  return false;
}

void QtPlatform::progressClose() {
  if (progress_) {
    progress_->hide();
    delete progress_.data();
  }
  progress_ = nullptr;
}

std::optional<int> QtPlatform::runDialog(const DialogTemplate& dialog, DialogHandler& handler) {
  return runQtDialog(dialog, handler, owner());
}

bool QtPlatform::runWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler) {
  if (spec.width <= 0 || spec.height <= 0) return false;
  QtChildWindow window(spec, handler, owner());
  if (spec.overView) {
    // The window's client area covers the drawing view exactly: nothing of
    // the model, the panel or the prompt line shows beside it.
    if (auto* main = qobject_cast<QtMainWindow*>(owner()); main != nullptr && main->isVisible()) {
      QWidget* view = main->viewWidget();
      window.setGeometry(QRect(view->mapToGlobal(QPoint(0, 0)), view->size()));
    }
  }
  window.run();
  return true;
}

std::unique_ptr<PrintJob> QtPlatform::choosePrinter(std::string_view jobTitle) {
  return choosePrinterJob(jobTitle, owner());
}

bool QtPlatform::printPicture(std::string_view jobTitle, int width, int height,
                              const PaintFunction& paint) {
  if (width <= 0 || height <= 0) return false;
  return printImageWithDialog(jobTitle, renderToImage(width, height, paint), owner());
}

bool QtPlatform::copyPictureToClipboard(int width, int height, const PaintFunction& paint) {
  if (width <= 0 || height <= 0) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setImage(renderToImage(width, height, paint));
  return true;
}

bool QtPlatform::openHelp(std::string_view fileOrUrl, std::string_view anchor) {
  const QString target = toQString(fileOrUrl);
  QUrl url;
  if (target.startsWith(QStringLiteral("http://")) ||
      target.startsWith(QStringLiteral("https://"))) {
    // Only a browser shows a remote page.
    url = QUrl(target);
    if (!anchor.empty()) url.setFragment(toQString(anchor));
    return QDesktopServices::openUrl(url);
  }
  url = target.startsWith(QStringLiteral("file:"))
            ? QUrl(target)
            : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
  if (!QFileInfo::exists(url.toLocalFile())) return false;
  if (!anchor.empty()) url.setFragment(toQString(anchor));
  // One help window, kept between calls; it goes with its owner.
  if (!help_) help_ = new QtHelpWindow(owner());
  help_->showPage(url);
  return true;
}

}  // namespace tav

namespace tav {

AudioOutput& QtPlatform::audio() {
  if (!audio_) audio_ = createPortAudioOutput();
  return *audio_;
}

}  // namespace tav
