#include "platform/scripted/scripted_dialog.h"

#include <algorithm>
#include <cctype>

namespace tav {

DialogStep DialogStep::setText(int id, std::string text) {
  DialogStep s;
  s.kind = DialogStepKind::SetText;
  s.id = id;
  s.text = std::move(text);
  return s;
}

DialogStep DialogStep::click(int id) {
  DialogStep s;
  s.kind = DialogStepKind::Click;
  s.id = id;
  return s;
}

DialogStep DialogStep::check(int id, bool on) {
  DialogStep s;
  s.kind = DialogStepKind::Check;
  s.id = id;
  s.value = on ? 1 : 0;
  return s;
}

DialogStep DialogStep::select(int id, int index) {
  DialogStep s;
  s.kind = DialogStepKind::Select;
  s.id = id;
  s.value = index;
  return s;
}

DialogStep DialogStep::doubleClick(int id, int index) {
  DialogStep s = select(id, index);
  s.kind = DialogStepKind::DoubleClick;
  return s;
}

DialogStep DialogStep::scroll(int id, int position) {
  DialogStep s;
  s.kind = DialogStepKind::Scroll;
  s.id = id;
  s.value = position;
  return s;
}

DialogStep DialogStep::scrollStep(int id, ScrollAction action) {
  DialogStep s;
  s.kind = DialogStepKind::ScrollStep;
  s.id = id;
  s.action = action;
  return s;
}

DialogStep DialogStep::paintClick(int id, PixelPoint at) {
  DialogStep s;
  s.kind = DialogStepKind::PaintClick;
  s.id = id;
  s.at = at;
  return s;
}

DialogStep DialogStep::enter() {
  DialogStep s;
  s.kind = DialogStepKind::Enter;
  return s;
}

DialogStep DialogStep::close() {
  DialogStep s;
  s.kind = DialogStepKind::Close;
  return s;
}

DialogStep DialogStep::check(std::function<void(DialogControls&)> inspect) {
  DialogStep s;
  s.kind = DialogStepKind::Inspect;
  s.inspect = std::move(inspect);
  return s;
}

ScriptedDialogControls::ScriptedDialogControls(const DialogTemplate& dialog)
    : title_(dialog.title) {
  for (const ControlTemplate& c : dialog.controls) {
    if (c.id <= 0) continue;
    ControlState s;
    s.kind = c.kind;
    s.text = c.text;
    s.checked = (c.flags & CTL_CHECKED) != 0;
    s.enabled = (c.flags & CTL_DISABLED) == 0;
    s.visible = (c.flags & CTL_HIDDEN) == 0;
    s.items = c.items;
    s.group = c.group;
    s.flags = c.flags;
    s.maxLength = c.maxLength;
    s.tooltip = c.tooltip;
    if (c.kind == ControlKind::ComboBox && !s.items.empty()) s.selection = 0;
    // The text of a list is its selected entry, not a caption.
    if (c.kind == ControlKind::ListBox || c.kind == ControlKind::ComboBox) s.text.clear();
    if (c.kind == ControlKind::PaintArea) {
      const int w = c.place.rect.width > 0 ? c.place.rect.width : std::max(c.minWidth, 200);
      const int h = c.place.rect.height > 0 ? c.place.rect.height : std::max(c.minHeight, 100);
      s.size = {0, 0, w, h};
    }
    states_[c.id] = std::move(s);
  }
}

ControlState* ScriptedDialogControls::state(int id) {
  auto it = states_.find(id);
  return it == states_.end() ? nullptr : &it->second;
}

const ControlState* ScriptedDialogControls::state(int id) const {
  auto it = states_.find(id);
  return it == states_.end() ? nullptr : &it->second;
}

std::string ScriptedDialogControls::text(int id) const {
  const ControlState* s = state(id);
  if (s == nullptr) return {};
  if (s->kind == ControlKind::ListBox || s->kind == ControlKind::ComboBox) {
    return s->selection >= 0 && s->selection < static_cast<int>(s->items.size())
               ? s->items[static_cast<std::size_t>(s->selection)]
               : std::string();
  }
  return s->text;
}

void ScriptedDialogControls::setText(int id, std::string_view utf8) {
  if (ControlState* s = state(id)) s->text = std::string(utf8);
}

bool ScriptedDialogControls::checked(int id) const {
  const ControlState* s = state(id);
  return s != nullptr && s->checked;
}

void ScriptedDialogControls::setChecked(int id, bool on) {
  ControlState* s = state(id);
  if (s == nullptr) return;
  if (s->kind != ControlKind::CheckBox && s->kind != ControlKind::RadioButton) return;
  if (on && s->kind == ControlKind::RadioButton) {
    for (auto& [otherId, other] : states_) {
      if (otherId != id && other.kind == ControlKind::RadioButton && other.group == s->group) {
        other.checked = false;
      }
    }
  }
  s->checked = on;
}

bool ScriptedDialogControls::enabled(int id) const {
  const ControlState* s = state(id);
  return s != nullptr && s->enabled;
}

void ScriptedDialogControls::enable(int id, bool on) {
  if (ControlState* s = state(id)) s->enabled = on;
}

bool ScriptedDialogControls::visible(int id) const {
  const ControlState* s = state(id);
  return s != nullptr && s->visible;
}

void ScriptedDialogControls::show(int id, bool on) {
  if (ControlState* s = state(id)) s->visible = on;
}

void ScriptedDialogControls::clearItems(int id) {
  if (ControlState* s = state(id)) {
    s->items.clear();
    s->selection = -1;
  }
}

void ScriptedDialogControls::addItem(int id, std::string_view utf8) {
  ControlState* s = state(id);
  if (s != nullptr && (s->kind == ControlKind::ListBox || s->kind == ControlKind::ComboBox)) {
    s->items.emplace_back(utf8);
    // A combo box shows its first entry as soon as it has one.
    if (s->kind == ControlKind::ComboBox && s->selection < 0) s->selection = 0;
  }
}

int ScriptedDialogControls::itemCount(int id) const {
  const ControlState* s = state(id);
  return s != nullptr ? static_cast<int>(s->items.size()) : 0;
}

std::string ScriptedDialogControls::itemText(int id, int index) const {
  const ControlState* s = state(id);
  if (s == nullptr || index < 0 || index >= static_cast<int>(s->items.size())) return {};
  return s->items[static_cast<std::size_t>(index)];
}

int ScriptedDialogControls::selection(int id) const {
  const ControlState* s = state(id);
  return s != nullptr ? s->selection : -1;
}

void ScriptedDialogControls::setSelection(int id, int index) {
  ControlState* s = state(id);
  if (s == nullptr) return;
  s->selection = index >= 0 && index < static_cast<int>(s->items.size()) ? index : -1;
}

void ScriptedDialogControls::setScrollRange(int id, int minimum, int maximum) {
  if (ControlState* s = state(id)) {
    s->scrollMin = minimum;
    s->scrollMax = std::max(minimum, maximum);
    s->scrollPos = std::clamp(s->scrollPos, s->scrollMin, s->scrollMax);
  }
}

int ScriptedDialogControls::scrollPosition(int id) const {
  const ControlState* s = state(id);
  return s != nullptr ? s->scrollPos : 0;
}

void ScriptedDialogControls::setScrollPosition(int id, int position) {
  if (ControlState* s = state(id)) s->scrollPos = std::clamp(position, s->scrollMin, s->scrollMax);
}

void ScriptedDialogControls::repaint(int id) {
  ControlState* s = state(id);
  if (s == nullptr || s->kind != ControlKind::PaintArea || !painter_) return;
  ScriptedCanvas canvas(s->size.width, s->size.height);
  painter_(id, canvas);
  paintings_.insert_or_assign(id, std::move(canvas));
}

const ScriptedCanvas* ScriptedDialogControls::painting(int id) const {
  auto it = paintings_.find(id);
  return it == paintings_.end() ? nullptr : &it->second;
}

void ScriptedDialogControls::endDialog(int result) {
  if (!result_) result_ = result;
}

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// First maxLength code points of a UTF-8 text.
std::string truncated(const std::string& s, int maxLength) {
  if (maxLength <= 0) return s;
  int count = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && count++ == maxLength) {
      return s.substr(0, i);
    }
  }
  return s;
}

// The characters a numeric field accepts: digits, sign, point, comma,
// exponent and blanks.
bool numericText(const std::string& s) {
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c)) &&
        std::string_view("+-.,eE ").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool isEdit(ControlKind k) { return k == ControlKind::Edit || k == ControlKind::MultilineEdit; }

}  // namespace

DialogRun runScriptedDialog(DialogHandler& handler, ScriptedDialogControls& controls,
                            const DialogScript& script) {
  DialogRun run;
  controls.setPainter([&handler](int id, Canvas& canvas) { handler.onPaint(id, canvas); });
  handler.onInit(controls);
  for (const auto& [id, s] : controls.states()) {
    if (s.kind == ControlKind::PaintArea) controls.repaint(id);
  }
  auto usable = [&](int id, const char* what) -> ControlState* {
    ControlState* s = controls.state(id);
    if (s == nullptr) {
      run.problems.push_back(std::string(what) + ": no control " + std::to_string(id));
    } else if (!s->enabled || !s->visible) {
      run.problems.push_back(std::string(what) + ": control " + std::to_string(id) +
                             " is disabled or hidden");
      s = nullptr;
    }
    return s;
  };
  auto click = [&](int id, ControlState& s) {
    if (s.kind == ControlKind::CheckBox) controls.setChecked(id, !s.checked);
    if (s.kind == ControlKind::RadioButton) controls.setChecked(id, true);
    handler.onCommand(id, DialogEventKind::Clicked, controls);
  };
  for (const DialogStep& step : script) {
    if (controls.result()) break;
    switch (step.kind) {
      case DialogStepKind::SetText: {
        ControlState* s = usable(step.id, "setText");
        if (s == nullptr) break;
        if (!isEdit(s->kind)) {
          run.problems.push_back("setText: control " + std::to_string(step.id) +
                                 " is not an editable field");
          break;
        }
        std::string text = truncated(step.text, s->maxLength);
        if (s->flags & CTL_UPPERCASE) text = upper(text);
        if ((s->flags & CTL_NUMERIC) && !numericText(text)) {
          // The field's validator would not have let these characters in.
          run.problems.push_back("setText: \"" + text + "\" in numeric field " +
                                 std::to_string(step.id));
          break;
        }
        s->text = text;
        controls.setFocus(step.id);
        handler.onCommand(step.id, DialogEventKind::Changed, controls);
        if (!controls.result()) handler.onCommand(step.id, DialogEventKind::FocusLost, controls);
        break;
      }
      case DialogStepKind::Click: {
        if (ControlState* s = usable(step.id, "click")) click(step.id, *s);
        break;
      }
      case DialogStepKind::Check: {
        ControlState* s = usable(step.id, "check");
        if (s != nullptr && s->checked != (step.value != 0)) click(step.id, *s);
        break;
      }
      case DialogStepKind::Select:
      case DialogStepKind::DoubleClick: {
        ControlState* s = usable(step.id, "select");
        if (s == nullptr) break;
        if (step.value < 0 || step.value >= static_cast<int>(s->items.size())) {
          run.problems.push_back("select: control " + std::to_string(step.id) + " has no entry " +
                                 std::to_string(step.value));
          break;
        }
        s->selection = step.value;
        handler.onCommand(step.id, DialogEventKind::SelectionChanged, controls);
        if (step.kind == DialogStepKind::DoubleClick && !controls.result()) {
          handler.onCommand(step.id, DialogEventKind::DoubleClicked, controls);
        }
        break;
      }
      case DialogStepKind::Scroll: {
        ControlState* s = usable(step.id, "scroll");
        if (s == nullptr) break;
        s->scrollPos = std::clamp(step.value, s->scrollMin, s->scrollMax);
        handler.onScroll(step.id, ScrollAction::Thumb, s->scrollPos, controls);
        break;
      }
      case DialogStepKind::ScrollStep: {
        ControlState* s = usable(step.id, "scrollStep");
        if (s == nullptr) break;
        int move = 0;
        switch (step.action) {
          case ScrollAction::LineBack:
            move = -1;
            break;
          case ScrollAction::LineForward:
            move = 1;
            break;
          case ScrollAction::PageBack:
            move = -SCRIPTED_SCROLL_PAGE;
            break;
          case ScrollAction::PageForward:
            move = SCRIPTED_SCROLL_PAGE;
            break;
          case ScrollAction::Thumb:
            break;
        }
        s->scrollPos = std::clamp(s->scrollPos + move, s->scrollMin, s->scrollMax);
        handler.onScroll(step.id, step.action, s->scrollPos, controls);
        break;
      }
      case DialogStepKind::PaintClick: {
        if (usable(step.id, "paintClick") != nullptr) {
          handler.onPaintAreaClick(step.id, step.at, controls);
        }
        break;
      }
      case DialogStepKind::Enter: {
        int target = 0;
        for (const auto& [id, s] : controls.states()) {
          if (s.kind == ControlKind::DefaultButton && s.enabled && s.visible) {
            target = id;
            break;
          }
        }
        if (target == 0) {
          run.problems.push_back("enter: no enabled default button");
        } else {
          handler.onCommand(target, DialogEventKind::Clicked, controls);
        }
        break;
      }
      case DialogStepKind::Close:
        if (handler.onClose(controls)) controls.endDialog(DLG_CANCEL);
        break;
      case DialogStepKind::Inspect:
        if (step.inspect) step.inspect(controls);
        break;
    }
  }
  if (!controls.result()) {
    if (!handler.onClose(controls)) {
      run.problems.push_back("the script ended while the dialog refused to close");
    }
    controls.endDialog(DLG_CANCEL);
  }
  run.result = *controls.result();
  return run;
}

}  // namespace tav
