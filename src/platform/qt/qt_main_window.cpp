#include "platform/qt/qt_main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
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
// panel strip above and of the command-button strip below (the prompt line
// is the status bar at the window's foot).
constexpr int SIDE_MARGIN = 32;
constexpr int PANEL_MIN_HEIGHT = 24;
constexpr int BOTTOM_HEIGHT = 26;
constexpr int BUTTON_WIDTH = 40;
constexpr int BUTTON_HEIGHT = 20;

// Key sequences for the desktop's standard keys; where the desktop defines
// none (a bare X server), the common ones.
QList<QKeySequence> shortcutKeys(StandardShortcut shortcut) {
  QKeySequence::StandardKey key = QKeySequence::UnknownKey;
  QString fallback;
  switch (shortcut) {
    case StandardShortcut::None:
      return {};
    case StandardShortcut::New:
      key = QKeySequence::New;
      fallback = QStringLiteral("Ctrl+N");
      break;
    case StandardShortcut::Open:
      key = QKeySequence::Open;
      fallback = QStringLiteral("Ctrl+O");
      break;
    case StandardShortcut::Save:
      key = QKeySequence::Save;
      fallback = QStringLiteral("Ctrl+S");
      break;
    case StandardShortcut::SaveAs:
      key = QKeySequence::SaveAs;
      fallback = QStringLiteral("Ctrl+Shift+S");
      break;
    case StandardShortcut::Print:
      key = QKeySequence::Print;
      fallback = QStringLiteral("Ctrl+P");
      break;
    case StandardShortcut::Undo:
      key = QKeySequence::Undo;
      fallback = QStringLiteral("Ctrl+Z");
      break;
    case StandardShortcut::Redo:
      key = QKeySequence::Redo;
      fallback = QStringLiteral("Ctrl+Shift+Z");
      break;
    case StandardShortcut::Quit:
      key = QKeySequence::Quit;
      fallback = QStringLiteral("Ctrl+Q");
      break;
  }
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (keys.isEmpty()) keys.append(QKeySequence(fallback));
  return keys;
}

// A menu that shows the tooltips of its items, greyed ones included, and
// puts a greyed item's status text in the status bar while the pointer is
// on it (an enabled item does that by itself).
class TipMenu : public QMenu {
 public:
  TipMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {
    setToolTipsVisible(true);
  }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip) {
      const auto* help = static_cast<QHelpEvent*>(e);
      QAction* a = actionAt(help->pos());
      if (a != nullptr && !a->statusTip().isEmpty()) {
        QToolTip::showText(help->globalPos(), a->statusTip(), this);
      } else {
        QToolTip::hideText();
      }
      return true;
    }
    return QMenu::event(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    QAction* a = actionAt(e->position().toPoint());
    if (a != nullptr && !a->isEnabled()) a->showStatusText(this);
    QMenu::mouseMoveEvent(e);
  }
};

QString withoutKeyHint(const QString& text) {
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  return tab < 0 ? text : text.left(tab);
}

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

  // "OK" and "STOP" side by side, centred under the view by the layout,
  // so they follow the window's edges when it is resized.
  bottom_ = new QWidget(central);
  bottom_->setFixedHeight(BOTTOM_HEIGHT);
  auto* buttonRow = new QHBoxLayout(bottom_);
  buttonRow->setContentsMargins(0, 2, 0, 2);
  buttonRow->setSpacing(0);
  okButton_ = new QPushButton(QStringLiteral("OK"), bottom_);
  stopButton_ = new QPushButton(QStringLiteral("STOP"), bottom_);
  buttonRow->addStretch(1);
  for (QPushButton* b : {okButton_, stopButton_}) {
    b->setFixedSize(BUTTON_WIDTH, BUTTON_HEIGHT);
    b->setFocusPolicy(Qt::NoFocus);
    // A hidden button keeps its place: the row does not jump.
    QSizePolicy keep = b->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    b->setSizePolicy(keep);
    buttonRow->addWidget(b);
    b->hide();
  }
  buttonRow->addStretch(1);
  okButton_->setToolTip(QStringLiteral("Finish the input (Enter, right button)"));
  stopButton_->setToolTip(QStringLiteral("Cancel the command (Escape)"));
  // The prompt line: where a desktop program says what it expects.
  prompt_ = new QLabel(this);
  prompt_->setObjectName(QStringLiteral("prompt"));
  prompt_->setMinimumWidth(200);
  statusBar()->addWidget(prompt_, 1);
  statusBar()->setSizeGripEnabled(true);
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
  view_->wheel = [this](const WheelEvent& e) {
    userActed_ = true;
    if (alive_) events_.onWheel(e);
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
      case MenuEntryKind::Submenu: {
        auto* sub = new TipMenu(toQString(e.text), menu);
        menu->addMenu(sub);
        addEntries(sub, e.entries);
        break;
      }
      case MenuEntryKind::Item: {
        QString text = toQString(e.text);
        if (!e.keyHint.empty()) {
          keyHints_[e.id] = toQString(e.keyHint);
          text += QLatin1Char('\t') + keyHints_[e.id];
        }
        QAction* a = menu->addAction(text);
        a->setEnabled(e.enabled);
        a->setShortcuts(shortcutKeys(e.shortcut));
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
  keyHints_.clear();
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
    QMenu* menu = new TipMenu(toQString(top.text), menuBar());
    menuBar()->addMenu(menu);
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
  QAction* a = action(id);
  if (a == nullptr) return;
  QString text = toQString(utf8);
  auto hint = keyHints_.find(id);
  if (hint != keyHints_.end()) text += QLatin1Char('\t') + hint->second;
  a->setText(text);
}

void QtMainWindow::setMenuItemVisible(int id, bool on) {
  if (QAction* a = action(id)) a->setVisible(on);
}

bool QtMainWindow::menuItemVisible(int id) const {
  QAction* a = action(id);
  return a != nullptr && a->isVisible();
}

void QtMainWindow::setMenuItemTip(int id, std::string_view utf8) {
  QAction* a = action(id);
  if (a == nullptr) return;
  const QString tip = toQString(utf8);
  if (a->statusTip() == tip) return;
  a->setStatusTip(tip);
  // Without a tip of its own the action would show its text as tooltip.
  a->setToolTip(tip.isEmpty() ? withoutKeyHint(a->text()) : tip);
}

std::string QtMainWindow::menuItemTip(int id) const {
  QAction* a = action(id);
  return a != nullptr ? toUtf8(a->statusTip()) : std::string();
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
  return a != nullptr ? toUtf8(withoutKeyHint(a->text())) : std::string();
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
