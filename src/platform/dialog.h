// Dialogs described once as data (title and controls with numeric ids) plus
// a handler that reacts to control events by id and reads and writes the
// controls by id. The Qt host builds widgets from the template; the scripted
// host keeps the control state in memory. Handlers run identically on both.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/input_events.h"

namespace tav {

class Platform;

// Results of standard buttons; a handler may end a dialog with any number.
constexpr int DLG_OK = 1;
constexpr int DLG_CANCEL = 2;

enum class ControlKind {
  Label,
  Edit,
  MultilineEdit,
  ReadOnlyEdit,
  PushButton,
  DefaultButton,  // pressed by Enter
  CheckBox,
  RadioButton,  // exclusive within its `group`
  ListBox,
  ComboBox,  // drop-down list, no free text
  GroupBox,
  ScrollBar,
  PaintArea  // drawn by DialogHandler::onPaint
};

// Control flags (bit set).
constexpr unsigned CTL_UPPERCASE = 1u << 0;  // edit: typed letters become capitals
constexpr unsigned CTL_NUMERIC = 1u << 1;    // edit: digits, sign, point, comma only
constexpr unsigned CTL_DISABLED = 1u << 2;   // starts disabled
constexpr unsigned CTL_HIDDEN = 1u << 3;     // starts hidden
constexpr unsigned CTL_CHECKED = 1u << 4;    // check/radio: starts checked
constexpr unsigned CTL_VERTICAL = 1u << 5;   // scroll bar: vertical (default horizontal)
constexpr unsigned CTL_RIGHT = 1u << 6;      // label/edit: right-aligned text

// Placement: either a cell of the dialog's grid (row >= 0) or, when
// rect.width > 0, a rectangle in dialog pixels. A template uses one of the
// two for all its controls.
struct ControlPlacement {
  int row = -1;
  int column = 0;
  int rowSpan = 1;
  int columnSpan = 1;
  PixelRect rect;
};

struct ControlTemplate {
  int id = 0;  // unique within the dialog; 0 or negative for labels nobody addresses
  ControlKind kind = ControlKind::Label;
  std::string text;  // label, caption or initial edit text (UTF-8)
  ControlPlacement place;
  unsigned flags = 0;
  int group = 0;                   // radio buttons: exclusive within equal group numbers
  int maxLength = 0;               // edits: 0 = unlimited
  int minWidth = 0;                // grid controls: minimum width in pixels (0 = natural)
  int minHeight = 0;               // grid controls: minimum height (list boxes, paint areas)
  std::vector<std::string> items;  // initial list/combo items
  std::string tooltip;             // shown when the pointer rests on the control (UTF-8)
};

struct DialogTemplate {
  std::string title;
  std::vector<ControlTemplate> controls;
  int width = 0;  // rectangle placement: client size in pixels
  int height = 0;
};

// Builders keep templates short.
ControlTemplate gridControl(int id, ControlKind kind, std::string text, int row, int column,
                            int rowSpan = 1, int columnSpan = 1, unsigned flags = 0);
ControlTemplate rectControl(int id, ControlKind kind, std::string text, PixelRect rect,
                            unsigned flags = 0);

// Empty when the template can be built; else why not (duplicate id,
// mixed placement, no controls).
std::string checkDialogTemplate(const DialogTemplate& dialog);

enum class DialogEventKind {
  Clicked,           // buttons, check boxes, radio buttons
  Changed,           // the user edited an edit field
  SelectionChanged,  // the user picked a list or combo entry
  DoubleClicked,     // list box entry
  Scrolled,          // the user moved a scroll bar
  FocusLost          // an edit field lost the keyboard focus
};

// Operations on the controls of a running dialog. Unknown ids are ignored
// (reads give empty/false/-1/0). Programmatic changes fire no events.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual std::string text(int id) const = 0;
  virtual void setText(int id, std::string_view utf8) = 0;
  virtual bool checked(int id) const = 0;
  virtual void setChecked(int id, bool on) = 0;  // a radio button unchecks its group
  virtual bool enabled(int id) const = 0;
  virtual void enable(int id, bool on) = 0;
  virtual bool visible(int id) const = 0;
  virtual void show(int id, bool on) = 0;
  // List boxes and combo boxes.
  virtual void clearItems(int id) = 0;
  virtual void addItem(int id, std::string_view utf8) = 0;
  virtual int itemCount(int id) const = 0;
  virtual std::string itemText(int id, int index) const = 0;
  virtual int selection(int id) const = 0;           // -1 none
  virtual void setSelection(int id, int index) = 0;  // -1 clears
  // Scroll bars.
  virtual void setScrollRange(int id, int minimum, int maximum) = 0;
  virtual int scrollPosition(int id) const = 0;
  virtual void setScrollPosition(int id, int position) = 0;
  virtual void setFocus(int id) = 0;
  virtual void repaint(int id) = 0;  // paint areas
  virtual void setTitle(std::string_view utf8) = 0;
  // Closes the dialog after the current handler call; runDialog returns result.
  virtual void endDialog(int result) = 0;
};

class DialogHandler {
 public:
  virtual ~DialogHandler() = default;
  virtual void onInit(DialogControls&) {}
  virtual void onCommand(int /*id*/, DialogEventKind, DialogControls&) {}
  // A scroll bar moved: a line or page step by its arrows or trough
  // (LineBack and PageBack toward its minimum), or the thumb dragged to
  // `position` (Thumb). By default the same as onCommand(id, Scrolled).
  virtual void onScroll(int id, ScrollAction /*action*/, int /*position*/, DialogControls& c) {
    onCommand(id, DialogEventKind::Scrolled, c);
  }
  // Escape or the close box. Return true to end the dialog with DLG_CANCEL.
  virtual bool onClose(DialogControls&) { return true; }
  virtual void onPaint(int /*id*/, Canvas&) {}
  virtual void onPaintAreaClick(int /*id*/, PixelPoint, DialogControls&) {}
};

constexpr const char* MSG_UNABLE_TO_DISPLAY_DIALOG = "Unable to display dialog";
constexpr const char* MSG_SYSTEM_ERROR = "System Error";

// Runs the dialog; when it cannot be shown, reports "Unable to display
// dialog" / "System Error" with the stop icon and returns DLG_CANCEL.
int runDialogOrReport(Platform& platform, const DialogTemplate& dialog, DialogHandler& handler);

}  // namespace tav
