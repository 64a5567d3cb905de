#include "platform/qt/qt_main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/builtin_art.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_picture_widget.h"
#include "platform/qt/qt_scroll_bar.h"
#include "platform/qt/qt_text.h"

namespace tav {

namespace {

// Margins around the drawing view: left/right, and the heights of the
// panel strip above and of the prompt strip below.
constexpr int SIDE_MARGIN = 32;
constexpr int PANEL_MIN_HEIGHT = 24;
constexpr int BOTTOM_HEIGHT = 48;
constexpr int BUTTON_WIDTH = 40;
constexpr int BUTTON_HEIGHT = 20;

}  // namespace

QtMainWindow::QtMainWindow(MainWindowEvents& events) : events_(events) {
  setWindowIcon(applicationIcon());
  auto* central = new QWidget(this);
  central->setAutoFillBackground(true);
  QPalette pal = central->palette();
  pal.setColor(QPalette::Window, QColor(192, 192, 192));
  central->setPalette(pal);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(SIDE_MARGIN, 0, SIDE_MARGIN, 0);
  column->setSpacing(0);

  panelHost_ = new QWidget(central);
  panelHost_->setMinimumHeight(PANEL_MIN_HEIGHT);
  auto* panelLayout = new QHBoxLayout(panelHost_);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  column->addWidget(panelHost_);

  auto* viewFrame = new QWidget(central);
  auto* grid = new QGridLayout(viewFrame);
  grid->setContentsMargins(1, 1, 1, 1);
  grid->setSpacing(0);
  view_ = new QtPictureWidget(viewFrame);
  view_->setFocusPolicy(Qt::StrongFocus);
  view_->setMinimumSize(64, 64);
  scrollH_ = new QScrollBar(Qt::Horizontal, viewFrame);
  scrollV_ = new QScrollBar(Qt::Vertical, viewFrame);
  for (QScrollBar* bar : {scrollH_, scrollV_}) {
    bar->setRange(-50, 50);
    bar->setValue(0);
    bar->setFocusPolicy(Qt::NoFocus);
  }
  grid->addWidget(view_, 0, 0);
  grid->addWidget(scrollV_, 0, 1);
  grid->addWidget(scrollH_, 1, 0);
  column->addWidget(viewFrame, 1);

  bottom_ = new QWidget(central);
  bottom_->setFixedHeight(BOTTOM_HEIGHT);
  prompt_ = new QLabel(bottom_);
  prompt_->setGeometry(0, 2, 2000, 18);
  okButton_ = new QPushButton(QStringLiteral("OK"), bottom_);
  stopButton_ = new QPushButton(QStringLiteral("STOP"), bottom_);
  for (QPushButton* b : {okButton_, stopButton_}) {
    b->setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
    b->setFocusPolicy(Qt::NoFocus);
    b->hide();
  }
  okButton_->setObjectName(QStringLiteral("btn_%1").arg(CMD_BUTTON_OK));
  stopButton_->setObjectName(QStringLiteral("btn_%1").arg(CMD_BUTTON_STOP));
  connect(okButton_, &QPushButton::clicked, this, [this] { command(CMD_BUTTON_OK); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { command(CMD_BUTTON_STOP); });
  column->addWidget(bottom_);
  setCentralWidget(central);

  view_->paintPicture = [this](Canvas& canvas) {
    if (alive_) events_.onPaint(canvas);
  };
  view_->mouse = [this](const MouseEvent& e) {
    if (e.action != MouseAction::Move) userActed_ = true;
    if (alive_) events_.onMouse(e);
  };
  view_->mouseLeft = [this] {
    if (alive_) events_.onMouseLeave();
  };
  view_->resized = [this](int w, int h) {
    if (alive_) events_.onResize(w, h);
  };
  auto scrollSink = [this](const ScrollEvent& e) {
    userActed_ = true;
    if (alive_) events_.onScroll(e);
  };
  connectScrollBar(scrollH_, ScrollAxis::Horizontal, scrollSink);
  connectScrollBar(scrollV_, ScrollAxis::Vertical, scrollSink);
  resize(1024, 768);
}

QtMainWindow::~QtMainWindow() { alive_ = false; }

void QtMainWindow::show() {
  showMaximized();
  view_->setFocus();
}

void QtMainWindow::setTitle(std::string_view utf8) { setWindowTitle(toQString(utf8)); }

void QtMainWindow::addEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& e : entries) {
    switch (e.kind) {
      case MenuEntryKind::Separator:
        menu->addSeparator();
        break;
      case MenuEntryKind::Submenu:
        addEntries(menu->addMenu(toQString(e.text)), e.entries);
        break;
      case MenuEntryKind::Item: {
        QAction* a = menu->addAction(toQString(e.text));
        a->setEnabled(e.enabled);
        if (e.checked) {
          a->setCheckable(true);
          a->setChecked(true);
        }
        const int id = e.id;
        connect(a, &QAction::triggered, this, [this, id, a] {
          // Check marks follow the model, not the click.
          if (a->isCheckable()) {
            const QSignalBlocker block(a);
            a->setChecked(!a->isChecked());
          }
          command(id);
        });
        actions_[id] = a;
        break;
      }
    }
  }
}

void QtMainWindow::setMenu(const std::vector<MenuEntry>& topMenus) {
  menuBar()->clear();
  topMenus_.clear();
  actions_.clear();
  for (const MenuEntry& top : topMenus) {
    if (top.kind == MenuEntryKind::Item) {
      // A command directly on the bar (Help) lives in a one-item menu-less action.
      QAction* a = menuBar()->addAction(toQString(top.text));
      const int id = top.id;
      connect(a, &QAction::triggered, this, [this, id] { command(id); });
      actions_[id] = a;
      topMenus_.push_back(nullptr);
      continue;
    }
    if (top.kind != MenuEntryKind::Submenu) continue;
    QMenu* menu = menuBar()->addMenu(toQString(top.text));
    connect(menu, &QMenu::aboutToShow, this, [this] {
      if (alive_) events_.onMenuOpening();
    });
    addEntries(menu, top.entries);
    topMenus_.push_back(menu);
  }
}

QAction* QtMainWindow::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void QtMainWindow::setMenuItemEnabled(int id, bool on) {
  if (QAction* a = action(id)) a->setEnabled(on);
}

void QtMainWindow::setMenuItemChecked(int id, bool on) {
  QAction* a = action(id);
  if (a == nullptr) return;
  const QSignalBlocker block(a);
  a->setCheckable(true);
  a->setChecked(on);
}

void QtMainWindow::setMenuItemText(int id, std::string_view utf8) {
  if (QAction* a = action(id)) a->setText(toQString(utf8));
}

bool QtMainWindow::menuItemEnabled(int id) const {
  QAction* a = action(id);
  return a != nullptr && a->isEnabled();
}

bool QtMainWindow::menuItemChecked(int id) const {
  QAction* a = action(id);
  return a != nullptr && a->isChecked();
}

std::string QtMainWindow::menuItemText(int id) const {
  QAction* a = action(id);
  return a != nullptr ? toUtf8(a->text()) : std::string();
}

void QtMainWindow::setTopMenuEnabled(int position, bool on) {
  const QList<QAction*> bar = menuBar()->actions();
  if (position >= 0 && position < bar.size()) bar[position]->setEnabled(on);
}

bool QtMainWindow::topMenuEnabled(int position) const {
  const QList<QAction*> bar = menuBar()->actions();
  return position >= 0 && position < bar.size() && bar[position]->isEnabled();
}

int QtMainWindow::viewWidth() const { return view_->width(); }
int QtMainWindow::viewHeight() const { return view_->height(); }

void QtMainWindow::command(int id) {
  userActed_ = true;
  if (alive_) events_.onCommand(id);
}

void QtMainWindow::requestRepaint() {
  if (startupShowing_ && userActed_) {
    startupShowing_ = false;
    view_->clearDecoration();
  }
  view_->invalidate();
}

void QtMainWindow::drawOnView(const PaintFunction& paint) { view_->drawNow(paint); }

void QtMainWindow::setOverlay(const PaintFunction& paint) { view_->setOverlay(paint); }

void QtMainWindow::clearOverlay() { view_->clearOverlay(); }

void QtMainWindow::updateOverlay() { view_->updateOverlay(); }

RgbImage QtMainWindow::viewPicture() const { return toRgbImage(view_->picture()); }

void QtMainWindow::setViewCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Cross:
      view_->setCursor(Qt::CrossCursor);
      break;
    case CursorShape::Hidden:
      view_->setCursor(Qt::BlankCursor);
      break;
    case CursorShape::Wait:
      view_->setCursor(Qt::WaitCursor);
      break;
    case CursorShape::Arrow:
      view_->setCursor(Qt::ArrowCursor);
      break;
  }
}

QScrollBar* QtMainWindow::scrollBar(ScrollAxis axis) const {
  return axis == ScrollAxis::Horizontal ? scrollH_ : scrollV_;
}

void QtMainWindow::setScrollRange(ScrollAxis axis, int minimum, int maximum) {
  QScrollBar* bar = scrollBar(axis);
  const QSignalBlocker block(bar);
  bar->setRange(minimum, std::max(minimum, maximum));
}

void QtMainWindow::setScrollPosition(ScrollAxis axis, int position) {
  QScrollBar* bar = scrollBar(axis);
  const QSignalBlocker block(bar);
  bar->setValue(position);
}

int QtMainWindow::scrollPosition(ScrollAxis axis) const { return scrollBar(axis)->value(); }

void QtMainWindow::showStartupPicture() {
  startupShowing_ = true;
  userActed_ = false;
  view_->setDecoration(startupPicture());
}

void QtMainWindow::hideStartupPicture() {
  if (!startupShowing_) return;
  startupShowing_ = false;
  view_->clearDecoration();
  view_->invalidate();
}

void QtMainWindow::setPromptText(std::string_view utf8) { prompt_->setText(toQString(utf8)); }

std::string QtMainWindow::promptText() const { return toUtf8(prompt_->text()); }

void QtMainWindow::showCommandButtons(bool on) {
  if (on) {
    // Side by side, centred horizontally, 22 pixels above the bottom.
    const int left = (bottom_->width() - 2 * BUTTON_WIDTH) / 2;
    const int top = BOTTOM_HEIGHT - 22 - BUTTON_HEIGHT / 2;
    okButton_->move(left, top);
    stopButton_->move(left + BUTTON_WIDTH, top);
  }
  okButton_->setVisible(on);
  stopButton_->setVisible(on);
}

bool QtMainWindow::commandButtonsShown() const { return !okButton_->isHidden(); }

QPushButton* QtMainWindow::commandButton(int id) const {
  if (id == CMD_BUTTON_OK) return okButton_;
  if (id == CMD_BUTTON_STOP) return stopButton_;
  return nullptr;
}

DialogControls* QtMainWindow::createPanel(const DialogTemplate& panel) {
  destroyPanel();
  if (!checkDialogTemplate(panel).empty()) return nullptr;
  panel_ = new QWidget(panelHost_);
  panel_->setObjectName(QStringLiteral("panel"));
  // Coordinate fields red on white, labels black on the grey background.
  panel_->setStyleSheet(
      QStringLiteral("QLineEdit[readOnly=\"true\"] { color: red; background: white; }"
                     "QLabel { color: black; }"));
  ControlCallbacks callbacks;
  callbacks.event = [this](int id, DialogEventKind kind) {
    userActed_ = true;
    if (alive_ && panelControls_ != nullptr) events_.onPanelCommand(id, kind, *panelControls_);
    view_->setFocus();  // keys keep going to the main window
  };
  panelControls_ = new QtControlSet(panel, panel_, std::move(callbacks));
  for (QWidget* w : panel_->findChildren<QWidget*>()) w->setFocusPolicy(Qt::NoFocus);
  panelHost_->layout()->addWidget(panel_);
  panel_->show();
  return panelControls_;
}

DialogControls* QtMainWindow::panel() { return panelControls_; }

void QtMainWindow::destroyPanel() {
  if (panel_ == nullptr) return;
  panelControls_ = nullptr;  // owned by panel_
  panel_->hide();
  panel_->deleteLater();
  panel_ = nullptr;
}

void QtMainWindow::postCommand(int id) {
  QTimer::singleShot(0, this, [this, id] {
    if (alive_) events_.onCommand(id);
  });
}

void QtMainWindow::postKey(int key) {
  QTimer::singleShot(0, this, [this, key] {
    if (alive_) events_.onKeyDown(key, false);
  });
}

void QtMainWindow::deliverKey(int key, bool ctrl) {
  userActed_ = true;
  if (alive_ && key != 0) events_.onKeyDown(key, ctrl);
}

void QtMainWindow::keyPressEvent(QKeyEvent* e) {
  const int key = toVirtualKey(*e);
  if (key == 0) {
    QMainWindow::keyPressEvent(e);
    return;
  }
  deliverKey(key, (e->modifiers() & Qt::ControlModifier) != 0);
}

void QtMainWindow::closeEvent(QCloseEvent* e) {
  if (!alive_) {
    e->accept();
    return;
  }
  // The shell decides (ask about unsaved work, or cancel a running command).
  e->ignore();
  events_.onCloseRequest();
}

void QtMainWindow::close() {
  alive_ = false;
  destroyPanel();
  hide();
}

}  // namespace tav
