#include "platform/qt/qt_child_window.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/keys.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_print.h"
#include "platform/qt/qt_scroll_bar.h"
#include "platform/qt/qt_text.h"

namespace tav {

namespace {

Qt::CursorShape toQtCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Cross:
      return Qt::CrossCursor;
    case CursorShape::Hidden:
      return Qt::BlankCursor;
    case CursorShape::Wait:
      return Qt::WaitCursor;
    case CursorShape::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

QtChildWindow::QtChildWindow(const ChildWindowSpec& spec, ChildWindowHandler& handler,
                             QWidget* parent)
    : QDialog(parent), handler_(handler) {
  setWindowTitle(toQString(spec.title));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMaximizeButtonHint, spec.resizable);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  picture_ = new QtPictureWidget(this);
  picture_->setMinimumSize(1, 1);
  layout->addWidget(picture_, 0, 0);
  if (spec.horizontalScrollBar) {
    scrollH_ = new QScrollBar(Qt::Horizontal, this);
    layout->addWidget(scrollH_, 1, 0);
    connectScrollBar(scrollH_, ScrollAxis::Horizontal,
                     [this](const ScrollEvent& e) { handler_.onScroll(e, *this); });
  }
  if (spec.verticalScrollBar) {
    scrollV_ = new QScrollBar(Qt::Vertical, this);
    layout->addWidget(scrollV_, 0, 1);
    connectScrollBar(scrollV_, ScrollAxis::Vertical,
                     [this](const ScrollEvent& e) { handler_.onScroll(e, *this); });
  }
  picture_->paintPicture = [this](Canvas& canvas) { handler_.onPaint(canvas, *this); };
  picture_->mouse = [this](const MouseEvent& e) { handler_.onMouse(e, *this); };
  picture_->resized = [this](int w, int h) { handler_.onResize(w, h, *this); };
  const int extraW = scrollV_ != nullptr ? scrollV_->sizeHint().width() : 0;
  const int extraH = scrollH_ != nullptr ? scrollH_->sizeHint().height() : 0;
  resize(std::max(1, spec.width) + extraW, std::max(1, spec.height) + extraH);
  if (!spec.resizable) setFixedSize(size());
  for (const ChildButton& b : spec.buttons) addButton(b);
}

void QtChildWindow::run() {
  handler_.onOpen(*this);
  if (closeEarly_) return;
  running_ = true;
  exec();
  running_ = false;
}

int QtChildWindow::width() const { return picture_->width(); }
int QtChildWindow::height() const { return picture_->height(); }

void QtChildWindow::setTitle(std::string_view utf8) { setWindowTitle(toQString(utf8)); }

void QtChildWindow::addButton(const ChildButton& b) {
  removeButton(b.id);
  auto* button = new QPushButton(toQString(b.label), picture_);
  button->setObjectName(QStringLiteral("btn_%1").arg(b.id));
  button->setGeometry(b.rect.x, b.rect.y, b.rect.width, b.rect.height);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  // A pressed button shows the current choice; the handler places the
  // buttons again after every choice, so a click never leaves one toggled.
  button->setCheckable(b.pressed);
  button->setChecked(b.pressed);
  const int id = b.id;
  connect(button, &QPushButton::clicked, this, [this, id] { handler_.onButton(id, *this); });
  button->show();
  buttons_[id] = button;
}

void QtChildWindow::removeButton(int id) {
  auto it = buttons_.find(id);
  if (it == buttons_.end()) return;
  it->second->hide();
  it->second->deleteLater();
  buttons_.erase(it);
}

void QtChildWindow::enableButton(int id, bool on) {
  if (QPushButton* b = button(id)) b->setEnabled(on);
}

QPushButton* QtChildWindow::button(int id) const {
  auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

void QtChildWindow::setScrollBar(ScrollAxis axis, int minimum, int maximum, int position) {
  QScrollBar* bar = axis == ScrollAxis::Horizontal ? scrollH_ : scrollV_;
  if (bar == nullptr) return;
  const QSignalBlocker block(bar);
  bar->setRange(minimum, std::max(minimum, maximum));
  bar->setValue(position);
}

void QtChildWindow::setCursor(CursorShape shape) { picture_->setCursor(toQtCursor(shape)); }

void QtChildWindow::repaint() { picture_->invalidate(); }

void QtChildWindow::drawNow(const PaintFunction& paint) { picture_->drawNow(paint); }

RgbImage QtChildWindow::picture() const { return toRgbImage(picture_->picture()); }

bool QtChildWindow::copyToClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setImage(picture_->picture());
  return true;
}

bool QtChildWindow::print(std::string_view jobTitle) {
  return printImageWithDialog(jobTitle, picture_->picture(), this);
}

void QtChildWindow::close() {
  if (running_) {
    done(0);
  } else {
    closeEarly_ = true;
  }
}

void QtChildWindow::reject() {
  if (handler_.onClose(*this)) close();
}

void QtChildWindow::keyPressEvent(QKeyEvent* e) {
  const int key = toVirtualKey(*e);
  if (key == KEY_ESCAPE) {
    reject();
    return;
  }
  if (key != 0) handler_.onKey(key, *this);
}

}  // namespace tav
