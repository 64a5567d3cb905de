// The progress window of long operations: a 160 x 100 window with an
// outlined bar, a line of text and an optional cancel button.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

namespace tav {

class QtProgressWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int CLIENT_WIDTH = 160;
  static constexpr int CLIENT_HEIGHT = 100;

  QtProgressWindow(const QString& title, const QString& text, const QString& buttonText,
                   QWidget* owner);

  // Redraws bar and text when the percentage differs from the last shown.
  void setProgress(int percent, const QString& text);
  bool cancelled() const { return cancelled_; }
  int barWidth() const { return barWidth_; }
  QPushButton* button() const { return button_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  QString text_;
  QPushButton* button_ = nullptr;
  int lastPercent_ = -1;
  int barWidth_ = 0;
  bool cancelled_ = false;
};

}  // namespace tav
