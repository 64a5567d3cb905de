#include "platform/qt/qt_help_window.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tav {

QtHelpWindow::QtHelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("help"));
  setWindowTitle(QString::fromUtf8(HELP_WINDOW_TITLE));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setModal(false);
  auto* column = new QVBoxLayout(this);
  browser_ = new QTextBrowser(this);
  browser_->setOpenLinks(true);
  // Links out of the manual go to the web browser; its own links stay here.
  browser_->setOpenExternalLinks(true);
  column->addWidget(browser_, 1);
  auto* row = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  webButton_ = new QPushButton(QStringLiteral("Open in &Web Browser"), this);
  webButton_->setToolTip(QStringLiteral("Show this page in the desktop's web browser"));
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  row->addWidget(back);
  row->addStretch(1);
  row->addWidget(webButton_);
  row->addWidget(close);
  column->addLayout(row);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  back->setEnabled(false);
  connect(webButton_, &QPushButton::clicked, this, [this] { openInWebBrowser(); });
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  // Anchors followed inside the manual become the page to hand on.
  connect(browser_, &QTextBrowser::anchorClicked, this,
          [this](const QUrl& url) { anchor_ = url.fragment(); });
  resize(760, 640);
}

void QtHelpWindow::showPage(const QUrl& url) {
  anchor_ = url.fragment();
  QUrl page = url;
  page.setFragment(QString());
  if (browser_->source() != page) browser_->setSource(page);
  if (anchor_.isEmpty()) {
    browser_->scrollToAnchor(QStringLiteral("index"));
  } else {
    browser_->scrollToAnchor(anchor_);
  }
  show();
  raise();
  activateWindow();
}

QUrl QtHelpWindow::currentUrl() const {
  QUrl url = browser_->source();
  if (!anchor_.isEmpty()) url.setFragment(anchor_);
  return url;
}

void QtHelpWindow::openInWebBrowser() {
  if (!QDesktopServices::openUrl(currentUrl())) {
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("No web browser could be started. The manual is the "
                                            "file %1.")
                                 .arg(browser_->source().toLocalFile()));
  }
}

}  // namespace tav
