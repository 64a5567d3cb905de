// Modal child window with its own picture, run-time push buttons and
// optional scroll bars; events go to a ChildWindowHandler.
#pragma once

#include <QDialog>
#include <map>

#include "platform/child_window.h"

class QPushButton;
class QScrollBar;

namespace tav {

class QtPictureWidget;

class QtChildWindow : public QDialog, public ChildWindow {
  Q_OBJECT
 public:
  QtChildWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler, QWidget* parent);

  // onOpen, then the modal loop unless the handler closed the window.
  void run();

  int width() const override;
  int height() const override;
  void setTitle(std::string_view utf8) override;
  void addButton(const ChildButton& button) override;
  void removeButton(int id) override;
  void enableButton(int id, bool on) override;
  void setScrollBar(ScrollAxis axis, int minimum, int maximum, int position) override;
  void setCursor(CursorShape shape) override;
  void repaint() override;
  void drawNow(const PaintFunction& paint) override;
  RgbImage picture() const override;
  bool copyToClipboard() override;
  bool print(std::string_view jobTitle) override;
  void close() override;

  QPushButton* button(int id) const;
  QtPictureWidget* pictureWidget() const { return picture_; }

  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  ChildWindowHandler& handler_;
  QtPictureWidget* picture_ = nullptr;
  QScrollBar* scrollH_ = nullptr;
  QScrollBar* scrollV_ = nullptr;
  std::map<int, QPushButton*> buttons_;
  bool running_ = false;
  bool closeEarly_ = false;
};

}  // namespace tav
