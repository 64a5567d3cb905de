// In-memory dialogs for tests: the control state lives in maps, a script of
// user steps drives the handler exactly as widgets would.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/scripted/scripted_canvas.h"

namespace tav {

struct ControlState {
  ControlKind kind = ControlKind::Label;
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
  std::vector<std::string> items;
  int selection = -1;
  int scrollMin = 0;
  int scrollMax = 100;
  int scrollPos = 0;
  int group = 0;
  unsigned flags = 0;
  int maxLength = 0;
  PixelRect size;  // paint areas: width and height used for painting
  std::string tooltip;
};

enum class DialogStepKind {
  SetText,      // the user types a new text into an edit field
  Click,        // button, check box (toggles) or radio button
  Check,        // check box / radio button to a given state (clicks if different)
  Select,       // list or combo entry
  DoubleClick,  // list entry
  Scroll,       // scroll bar thumb dragged to a position
  ScrollStep,   // scroll bar arrow or trough clicked: a line or page step
  PaintClick,   // click in a paint area
  Enter,        // the Enter key: presses the default button
  Close,        // Escape / close box
  Inspect       // runs a test function on the controls
};

struct DialogStep {
  DialogStepKind kind = DialogStepKind::Click;
  int id = 0;
  std::string text;
  int value = 0;                              // index, position, check state
  ScrollAction action = ScrollAction::Thumb;  // ScrollStep
  PixelPoint at;
  std::function<void(DialogControls&)> inspect;

  static DialogStep setText(int id, std::string text);
  static DialogStep click(int id);
  static DialogStep check(int id, bool on = true);
  static DialogStep select(int id, int index);
  static DialogStep doubleClick(int id, int index);
  static DialogStep scroll(int id, int position);
  // A line step moves the bar by 1, a page step by SCRIPTED_SCROLL_PAGE.
  static DialogStep scrollStep(int id, ScrollAction action);
  static DialogStep paintClick(int id, PixelPoint at);
  static DialogStep enter();
  static DialogStep close();
  static DialogStep check(std::function<void(DialogControls&)> inspect);
};

using DialogScript = std::vector<DialogStep>;

constexpr int SCRIPTED_SCROLL_PAGE = 10;

class ScriptedDialogControls : public DialogControls {
 public:
  explicit ScriptedDialogControls(const DialogTemplate& dialog);

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
  void setFocus(int id) override { focus_ = id; }
  void repaint(int id) override;
  void setTitle(std::string_view utf8) override { title_ = std::string(utf8); }
  void endDialog(int result) override;

  const std::string& title() const { return title_; }
  int focus() const { return focus_; }
  std::optional<int> result() const { return result_; }
  const std::map<int, ControlState>& states() const { return states_; }
  ControlState* state(int id);
  const ControlState* state(int id) const;
  // Paint areas are drawn when repainted; the last picture per id.
  void setPainter(std::function<void(int, Canvas&)> painter) { painter_ = std::move(painter); }
  const ScriptedCanvas* painting(int id) const;

 private:
  std::string title_;
  std::map<int, ControlState> states_;
  std::map<int, ScriptedCanvas> paintings_;
  std::function<void(int, Canvas&)> painter_;
  std::optional<int> result_;
  int focus_ = 0;
};

struct DialogRun {
  int result = DLG_CANCEL;
  std::vector<std::string> problems;  // steps the user could not have done
};

// onInit, the steps while the dialog runs, then Close if it still runs (a
// dialog the handler refuses to close ends with DLG_CANCEL and a problem).
DialogRun runScriptedDialog(DialogHandler& handler, ScriptedDialogControls& controls,
                            const DialogScript& script);

}  // namespace tav
