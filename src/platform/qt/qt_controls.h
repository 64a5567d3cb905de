// Widgets built from a dialog template, addressed by control id. Used by the
// modal dialog host and by the main window's 3D panel. Every control widget
// is named "ctl_<id>" so tests and style sheets can find it.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <map>

#include "platform/dialog.h"

class QButtonGroup;

namespace tav {

struct ControlCallbacks {
  std::function<void(int id, DialogEventKind kind)> event;
  // Scroll bars; without it a scroll is an event of kind Scrolled.
  std::function<void(int id, ScrollAction action, int position)> scroll;
  std::function<void(int id, Canvas& canvas)> paint;
  std::function<void(int id, PixelPoint at)> paintClick;
  std::function<void(int result)> end;
  std::function<void(std::string_view title)> title;
};

class QtControlSet : public QObject, public DialogControls {
  Q_OBJECT
 public:
  // Builds the template's controls as children of `parent` and lays them out
  // (grid layout, or fixed rectangles). The template must be valid.
  QtControlSet(const DialogTemplate& dialog, QWidget* parent, ControlCallbacks callbacks);

  QWidget* widget(int id) const;

  std::string text(int id) const override;
  void setText(int id, std::string_view utf8) override;
  bool checked(int id) const override;
  void setChecked(int id, bool on) override;
  bool enabled(int id) const override;
  void enable(int id, bool on) override;
  bool visible(int id) const override;
  void show(int id, bool on) override;
  void clearItems(int id) override;
  void addItem(int id, std::string_view utf8) override;
  int itemCount(int id) const override;
  std::string itemText(int id, int index) const override;
  int selection(int id) const override;
  void setSelection(int id, int index) override;
  void setScrollRange(int id, int minimum, int maximum) override;
  int scrollPosition(int id) const override;
  void setScrollPosition(int id, int position) override;
  void setFocus(int id) override;
  void repaint(int id) override;
  void setTitle(std::string_view utf8) override;
  void endDialog(int result) override;

 private:
  QWidget* build(const ControlTemplate& c, QWidget* parent);
  void fire(int id, DialogEventKind kind);
  void fireScroll(int id, ScrollAction action, int position);

  ControlCallbacks callbacks_;
  std::map<int, QWidget*> widgets_;
  std::map<int, QButtonGroup*> radioGroups_;
  std::map<int, bool> hidden_;  // requested visibility, independent of the window's
  // Scroll bars: the position a line or page step will settle on, whose
  // valueChanged is that step rather than a thumb move.
  std::map<int, int> stepSettling_;
};

}  // namespace tav
