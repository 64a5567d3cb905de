// The program's own help window: the bundled HTML manual in a text browser,
// opened at a command's anchor, with the system's web browser as a second
// choice. Modeless, so Help works during a command.
#pragma once

#include <QDialog>
#include <QUrl>

class QPushButton;
class QTextBrowser;

namespace tav {

inline constexpr const char* HELP_WINDOW_TITLE = "Taviron Manual";

class QtHelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit QtHelpWindow(QWidget* parent);

  // Loads the page (a local file, with or without a fragment), scrolls to
  // the fragment's anchor and brings the window to the front.
  void showPage(const QUrl& url);

  QTextBrowser* browser() const { return browser_; }
  QPushButton* webBrowserButton() const { return webButton_; }
  // The page and anchor shown.
  QUrl currentUrl() const;

 private:
  void openInWebBrowser();

  QTextBrowser* browser_ = nullptr;
  QPushButton* webButton_ = nullptr;
  QString anchor_;
};

}  // namespace tav
