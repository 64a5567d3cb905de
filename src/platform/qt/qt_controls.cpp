#include "platform/qt/qt_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_text.h"

namespace tav {

namespace {

class PaintAreaWidget : public QWidget {
 public:
  PaintAreaWidget(int id, const ControlCallbacks& callbacks, QWidget* parent)
      : QWidget(parent), id_(id), callbacks_(callbacks) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QtCanvas canvas(painter, width(), height());
    if (callbacks_.paint) callbacks_.paint(id_, canvas);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton || !callbacks_.paintClick) return;
    const QPoint p = e->position().toPoint();
    callbacks_.paintClick(id_, {p.x(), p.y()});
  }

 private:
  int id_;
  const ControlCallbacks& callbacks_;
};

}  // namespace

QtControlSet::QtControlSet(const DialogTemplate& dialog, QWidget* parent,
                           ControlCallbacks callbacks)
    : QObject(parent), callbacks_(std::move(callbacks)) {
  const bool byRect = !dialog.controls.empty() && dialog.controls.front().place.rect.width > 0;
  QGridLayout* grid = nullptr;
  if (byRect) {
    if (dialog.width > 0 && dialog.height > 0) parent->setFixedSize(dialog.width, dialog.height);
  } else {
    grid = new QGridLayout(parent);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
  }
  // Group boxes first, so the controls they frame lie above them.
  std::vector<QWidget*> built(dialog.controls.size(), nullptr);
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t index = 0; index < dialog.controls.size(); ++index) {
      const ControlTemplate& c = dialog.controls[index];
      if ((c.kind == ControlKind::GroupBox) != (pass == 0)) continue;
      QWidget* w = build(c, parent);
      built[index] = w;
      if (c.minWidth > 0) w->setMinimumWidth(c.minWidth);
      if (c.minHeight > 0) w->setMinimumHeight(c.minHeight);
      if (grid != nullptr) {
        Qt::Alignment align;
        if (c.kind == ControlKind::GroupBox) align = Qt::Alignment();
        grid->addWidget(w, c.place.row, c.place.column, c.place.rowSpan, c.place.columnSpan, align);
      } else {
        const PixelRect& r = c.place.rect;
        w->setGeometry(r.x, r.y, r.width, r.height);
      }
      if (c.flags & CTL_DISABLED) w->setEnabled(false);
      if (c.flags & CTL_HIDDEN) {
        w->hide();
        if (c.id > 0) hidden_[c.id] = true;
      }
      if (c.id > 0) widgets_[c.id] = w;
    }
  }
  // A label's '&' mnemonic focuses the control that follows it in the
  // template, as in classic dialog templates.
  for (std::size_t i = 0; i + 1 < dialog.controls.size(); ++i) {
    const ControlTemplate& c = dialog.controls[i];
    if (c.kind != ControlKind::Label || c.text.find('&') == std::string::npos) continue;
    auto* label = qobject_cast<QLabel*>(built[i]);
    if (label != nullptr && built[i + 1] != nullptr) label->setBuddy(built[i + 1]);
  }
}

QWidget* QtControlSet::build(const ControlTemplate& c, QWidget* parent) {
  const int id = c.id;
  const QString text = toQString(c.text);
  QWidget* result = nullptr;
  switch (c.kind) {
    case ControlKind::Label: {
      auto* w = new QLabel(text, parent);
      if (c.flags & CTL_RIGHT) w->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      result = w;
      break;
    }
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit: {
      auto* w = new QLineEdit(text, parent);
      if (c.maxLength > 0) w->setMaxLength(c.maxLength);
      if (c.kind == ControlKind::ReadOnlyEdit) w->setReadOnly(true);
      if (c.flags & CTL_RIGHT) w->setAlignment(Qt::AlignRight);
      if (c.flags & CTL_NUMERIC) {
        w->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[-+0-9.,eE ]*")), w));
      }
      const bool upper = (c.flags & CTL_UPPERCASE) != 0;
      connect(w, &QLineEdit::textEdited, this, [this, w, id, upper](const QString& s) {
        if (upper && s != s.toUpper()) {
          const int cursor = w->cursorPosition();
          const QSignalBlocker block(w);
          w->setText(s.toUpper());
          w->setCursorPosition(cursor);
        }
        fire(id, DialogEventKind::Changed);
      });
      connect(w, &QLineEdit::editingFinished, this,
              [this, id] { fire(id, DialogEventKind::FocusLost); });
      result = w;
      break;
    }
    case ControlKind::MultilineEdit: {
      auto* w = new QPlainTextEdit(text, parent);
      connect(w, &QPlainTextEdit::textChanged, this,
              [this, id] { fire(id, DialogEventKind::Changed); });
      result = w;
      break;
    }
    case ControlKind::PushButton:
    case ControlKind::DefaultButton: {
      auto* w = new QPushButton(text, parent);
      w->setAutoDefault(false);
      if (c.kind == ControlKind::DefaultButton) w->setDefault(true);
      connect(w, &QPushButton::clicked, this, [this, id] { fire(id, DialogEventKind::Clicked); });
      result = w;
      break;
    }
    case ControlKind::CheckBox: {
      auto* w = new QCheckBox(text, parent);
      w->setChecked((c.flags & CTL_CHECKED) != 0);
      connect(w, &QCheckBox::clicked, this, [this, id] { fire(id, DialogEventKind::Clicked); });
      result = w;
      break;
    }
    case ControlKind::RadioButton: {
      auto* w = new QRadioButton(text, parent);
      w->setAutoExclusive(false);
      QButtonGroup*& group = radioGroups_[c.group];
      if (group == nullptr) {
        group = new QButtonGroup(this);
        group->setExclusive(true);
      }
      group->addButton(w);
      w->setChecked((c.flags & CTL_CHECKED) != 0);
      connect(w, &QRadioButton::clicked, this, [this, id] { fire(id, DialogEventKind::Clicked); });
      result = w;
      break;
    }
    case ControlKind::ListBox: {
      auto* w = new QListWidget(parent);
      for (const std::string& item : c.items) w->addItem(toQString(item));
      connect(w, &QListWidget::currentRowChanged, this,
              [this, id] { fire(id, DialogEventKind::SelectionChanged); });
      connect(w, &QListWidget::itemDoubleClicked, this,
              [this, id] { fire(id, DialogEventKind::DoubleClicked); });
      result = w;
      break;
    }
    case ControlKind::ComboBox: {
      auto* w = new QComboBox(parent);
      for (const std::string& item : c.items) w->addItem(toQString(item));
      connect(w, &QComboBox::activated, this,
              [this, id] { fire(id, DialogEventKind::SelectionChanged); });
      result = w;
      break;
    }
    case ControlKind::GroupBox:
      result = new QGroupBox(text, parent);
      break;
    case ControlKind::ScrollBar: {
      auto* w = new QScrollBar((c.flags & CTL_VERTICAL) ? Qt::Vertical : Qt::Horizontal, parent);
      // Arrows and trough are reported as the steps they are, so a handler
      // can step from its own value; everything else (the thumb, Home, End)
      // as the position reached.
      connect(w, &QScrollBar::actionTriggered, this, [this, w, id](int action) {
        ScrollAction a;
        switch (action) {
          case QAbstractSlider::SliderSingleStepSub:
            a = ScrollAction::LineBack;
            break;
          case QAbstractSlider::SliderSingleStepAdd:
            a = ScrollAction::LineForward;
            break;
          case QAbstractSlider::SliderPageStepSub:
            a = ScrollAction::PageBack;
            break;
          case QAbstractSlider::SliderPageStepAdd:
            a = ScrollAction::PageForward;
            break;
          default:
            return;
        }
        fireScroll(id, a, w->sliderPosition());
        // The bar now settles on its slider position (perhaps the one the
        // handler set); that change is this step, not a thumb move.
        stepSettling_[id] = w->sliderPosition();
      });
      connect(w, &QScrollBar::valueChanged, this, [this, id](int value) {
        const auto settling = stepSettling_.find(id);
        const bool step = settling != stepSettling_.end() && settling->second == value;
        if (settling != stepSettling_.end()) stepSettling_.erase(settling);
        if (!step) fireScroll(id, ScrollAction::Thumb, value);
      });
      result = w;
      break;
    }
    case ControlKind::PaintArea:
      result = new PaintAreaWidget(id, callbacks_, parent);
      break;
  }
  result->setObjectName(QStringLiteral("ctl_%1").arg(id));
  if (!c.tooltip.empty()) result->setToolTip(toQString(c.tooltip));
  return result;
}

void QtControlSet::fire(int id, DialogEventKind kind) {
  if (id > 0 && callbacks_.event) callbacks_.event(id, kind);
}

void QtControlSet::fireScroll(int id, ScrollAction action, int position) {
  if (id <= 0) return;
  if (callbacks_.scroll) {
    callbacks_.scroll(id, action, position);
  } else {
    fire(id, DialogEventKind::Scrolled);
  }
}

QWidget* QtControlSet::widget(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

std::string QtControlSet::text(int id) const {
  QWidget* w = widget(id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return toUtf8(e->text());
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return toUtf8(e->toPlainText());
  if (auto* l = qobject_cast<QLabel*>(w)) return toUtf8(l->text());
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return toUtf8(b->text());
  if (auto* g = qobject_cast<QGroupBox*>(w)) return toUtf8(g->title());
  if (auto* c = qobject_cast<QComboBox*>(w)) return toUtf8(c->currentText());
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    return l->currentItem() != nullptr ? toUtf8(l->currentItem()->text()) : std::string();
  }
  return {};
}

void QtControlSet::setText(int id, std::string_view utf8) {
  QWidget* w = widget(id);
  const QString s = toQString(utf8);
  const QSignalBlocker block(w);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(s);
  } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    e->setPlainText(s);
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(s);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(s);
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(s);
  }
}

bool QtControlSet::checked(int id) const {
  auto* b = qobject_cast<QAbstractButton*>(widget(id));
  return b != nullptr && b->isCheckable() && b->isChecked();
}

void QtControlSet::setChecked(int id, bool on) {
  auto* b = qobject_cast<QAbstractButton*>(widget(id));
  if (b == nullptr || !b->isCheckable()) return;
  const QSignalBlocker block(b);
  // An exclusive group refuses to uncheck its checked member directly.
  QButtonGroup* group = b->group();
  if (!on && group != nullptr) group->setExclusive(false);
  b->setChecked(on);
  if (!on && group != nullptr) group->setExclusive(true);
}

bool QtControlSet::enabled(int id) const {
  QWidget* w = widget(id);
  return w != nullptr && w->isEnabled();
}

void QtControlSet::enable(int id, bool on) {
  if (QWidget* w = widget(id)) w->setEnabled(on);
}

bool QtControlSet::visible(int id) const {
  if (widget(id) == nullptr) return false;
  auto it = hidden_.find(id);
  return it == hidden_.end() || !it->second;
}

void QtControlSet::show(int id, bool on) {
  QWidget* w = widget(id);
  if (w == nullptr) return;
  hidden_[id] = !on;
  w->setVisible(on);
}

void QtControlSet::clearItems(int id) {
  QWidget* w = widget(id);
  const QSignalBlocker block(w);
  if (auto* l = qobject_cast<QListWidget*>(w)) l->clear();
  if (auto* c = qobject_cast<QComboBox*>(w)) c->clear();
}

void QtControlSet::addItem(int id, std::string_view utf8) {
  QWidget* w = widget(id);
  const QSignalBlocker block(w);
  if (auto* l = qobject_cast<QListWidget*>(w)) l->addItem(toQString(utf8));
  if (auto* c = qobject_cast<QComboBox*>(w)) c->addItem(toQString(utf8));
}

int QtControlSet::itemCount(int id) const {
  QWidget* w = widget(id);
  if (auto* l = qobject_cast<QListWidget*>(w)) return l->count();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->count();
  return 0;
}

std::string QtControlSet::itemText(int id, int index) const {
  QWidget* w = widget(id);
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    return index >= 0 && index < l->count() ? toUtf8(l->item(index)->text()) : std::string();
  }
  if (auto* c = qobject_cast<QComboBox*>(w)) {
    return index >= 0 && index < c->count() ? toUtf8(c->itemText(index)) : std::string();
  }
  return {};
}

int QtControlSet::selection(int id) const {
  QWidget* w = widget(id);
  if (auto* l = qobject_cast<QListWidget*>(w)) return l->currentRow();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex();
  return -1;
}

void QtControlSet::setSelection(int id, int index) {
  QWidget* w = widget(id);
  const QSignalBlocker block(w);
  if (auto* l = qobject_cast<QListWidget*>(w)) {
    l->setCurrentRow(index >= 0 && index < l->count() ? index : -1);
    if (index >= 0 && index < l->count()) l->scrollToItem(l->item(index));
  }
  if (auto* c = qobject_cast<QComboBox*>(w)) c->setCurrentIndex(index < c->count() ? index : -1);
}

void QtControlSet::setScrollRange(int id, int minimum, int maximum) {
  if (auto* s = qobject_cast<QScrollBar*>(widget(id))) {
    const QSignalBlocker block(s);
    s->setRange(minimum, std::max(minimum, maximum));
  }
}

int QtControlSet::scrollPosition(int id) const {
  auto* s = qobject_cast<QScrollBar*>(widget(id));
  return s != nullptr ? s->value() : 0;
}

void QtControlSet::setScrollPosition(int id, int position) {
  if (auto* s = qobject_cast<QScrollBar*>(widget(id))) {
    const QSignalBlocker block(s);
    s->setValue(position);
  }
}

void QtControlSet::setFocus(int id) {
  if (QWidget* w = widget(id)) {
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
  }
}

void QtControlSet::repaint(int id) {
  if (QWidget* w = widget(id)) w->update();
}

void QtControlSet::setTitle(std::string_view utf8) {
  if (callbacks_.title) callbacks_.title(utf8);
}

void QtControlSet::endDialog(int result) {
  if (callbacks_.end) callbacks_.end(result);
}

}  // namespace tav
