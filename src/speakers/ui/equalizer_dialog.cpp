#include "speakers/ui/equalizer_dialog.h"

#include <algorithm>
#include <string>

#include "model/number_text.h"
#include "platform/platform.h"
#include "speakers/equalizer_state.h"

namespace tav {

namespace {

constexpr const char* BAND_LABELS[BAND_COUNT] = {"125",  "250",  "500", "1000",
                                                 "2000", "4000", "8000"};

EqualizerScroll scrollOf(ScrollAction action) {
  // The bars run from the highest value at the top (position 0) down.
  switch (action) {
    case ScrollAction::LineBack:
      return EqualizerScroll::LineUp;
    case ScrollAction::LineForward:
      return EqualizerScroll::LineDown;
    case ScrollAction::PageBack:
      return EqualizerScroll::PageUp;
    case ScrollAction::PageForward:
      return EqualizerScroll::PageDown;
    case ScrollAction::Thumb:
      break;
  }
  return EqualizerScroll::Thumb;
}

class EqualizerDialog : public DialogHandler {
 public:
  EqualizerDialog(Platform& platform, EqualizerMode mode,
                  const std::array<double, BAND_COUNT>& values,
                  const std::optional<EqualizerOffsets>& offsets, const EqualizerCheck& check)
      : platform_(platform), state_(mode, values), check_(check) {
    if (offsets)
      for (int bar = 0; bar <= EQ_MASTER; ++bar) state_.setDisplayOffset(bar, (*offsets)[bar]);
    if (offsets) offsets_ = *offsets;
  }

  void onInit(DialogControls& c) override {
    c.setTitle(state_.title());
    c.setText(EQD_UNIT_LABEL, state_.unitLabel());
    c.setText(EQD_SUMMARY_LABEL, state_.summaryLabel());
    for (int bar = 0; bar <= EQ_MASTER; ++bar)
      c.setScrollRange(EQD_BAR_FIRST + bar, 0, EQ_BAR_RANGE);
    refresh(c);
  }

  void onScroll(int id, ScrollAction action, int position, DialogControls& c) override {
    if (id < EQD_BAR_FIRST || id > EQD_BAR_MASTER) return;
    // Arrows and trough step from the value itself (-9.5 dB up by one line
    // is -8.5 dB); only the thumb sets the value from its position.
    state_.scroll(id - EQD_BAR_FIRST, scrollOf(action), position);
    refresh(c);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind == DialogEventKind::Scrolled && id >= EQD_BAR_FIRST && id <= EQD_BAR_MASTER) {
      onScroll(id, ScrollAction::Thumb, c.scrollPosition(id), c);
    } else if (kind == DialogEventKind::FocusLost && id >= EQD_EDIT_FIRST &&
               id <= EQD_EDIT_MASTER) {
      takeTyped(c, id);
      refresh(c);
    } else if (kind == DialogEventKind::Clicked && id == EQD_OK) {
      // A value typed without leaving its field counts as well; one that had
      // to be limited is shown before anything is accepted.
      bool limited = false;
      for (int e = EQD_EDIT_FIRST; e <= EQD_EDIT_MASTER; ++e) limited |= takeTyped(c, e);
      refresh(c);
      if (limited) return;
      if (check_) {
        const UserMessage refusal = check_(state_.values());
        if (!refusal.empty()) {
          platform_.showMessage(refusal.text, refusal.caption);
          return;
        }
      }
      confirmed_ = true;
      c.endDialog(DLG_OK);
    } else if (kind == DialogEventKind::Clicked && id == EQD_CANCEL) {
      c.endDialog(DLG_CANCEL);
    }
  }

  bool confirmed() const { return confirmed_; }
  const std::array<double, BAND_COUNT>& values() const { return state_.values(); }

 private:
  // A typed value (shown with its display offset) replaces the value when
  // its text differs from the one shown; a text without a number is ignored.
  // A value beyond what the bar can take is set to the limit, and the user
  // is told. True when that happened.
  bool takeTyped(DialogControls& c, int id) {
    const int bar = id - EQD_EDIT_FIRST;
    const std::string typed = c.text(id);
    if (typed == state_.text(bar)) return false;
    const std::optional<double> v = parseNumberStrict(typed);
    if (!v) return false;
    const double absolute = *v - offsets_[bar];
    // The master moves all bands together and stops where the lowest band
    // reaches the lower limit.
    double lowest = state_.lowerLimit();
    if (bar == EQ_MASTER) {
      const auto& values = state_.values();
      lowest = state_.master() - (*std::min_element(values.begin(), values.end()) - lowest);
    }
    const double highest = state_.upperLimit();
    if (bar == EQ_MASTER)
      state_.setMaster(absolute);
    else
      state_.setBand(bar, absolute);
    if (absolute >= lowest && absolute <= highest) return false;
    const double shift = offsets_[bar];
    const char* unit = state_.mode() == EqualizerMode::Gain ? " dB" : " s";
    platform_.showMessage(formatNumbers("Entry limited to %2.1lf", {state_.valueAt(bar) + shift}) +
                              unit +
                              formatNumbers(": the values lie within %2.1lf .. %2.1lf",
                                            {lowest + shift, highest + shift}) +
                              unit + ".",
                          state_.title());
    return true;
  }

  void refresh(DialogControls& c) {
    for (int bar = 0; bar <= EQ_MASTER; ++bar) {
      c.setText(EQD_EDIT_FIRST + bar, state_.text(bar));
      c.setScrollPosition(EQD_BAR_FIRST + bar, state_.barPosition(bar));
    }
    c.setText(EQD_SUMMARY, state_.summaryText());
  }

  Platform& platform_;
  EqualizerState state_;
  EqualizerOffsets offsets_{};
  const EqualizerCheck& check_;
  bool confirmed_ = false;
};

}  // namespace

DialogTemplate equalizerDialogTemplate() {
  DialogTemplate t;
  t.title = "Equalizer";
  for (int bar = 0; bar <= EQ_MASTER; ++bar) {
    t.controls.push_back(
        gridControl(EQD_EDIT_FIRST + bar, ControlKind::Edit, "", 0, bar, 1, 1, CTL_NUMERIC));
    t.controls.back().maxLength = 6;
    t.controls.back().minWidth = 48;
    ControlTemplate scroll =
        gridControl(EQD_BAR_FIRST + bar, ControlKind::ScrollBar, "", 1, bar, 1, 1, CTL_VERTICAL);
    scroll.minHeight = 160;
    t.controls.push_back(scroll);
    t.controls.push_back(gridControl(-1 - bar, ControlKind::Label,
                                     bar == EQ_MASTER ? "Master" : BAND_LABELS[bar], 2, bar));
  }
  t.controls.push_back(gridControl(-20, ControlKind::Label, "Hz", 3, 0));
  t.controls.push_back(gridControl(EQD_UNIT_LABEL, ControlKind::Label, "dB", 3, 1));
  t.controls.push_back(
      gridControl(EQD_SUMMARY_LABEL, ControlKind::Label, "total", 3, 5, 1, 1, CTL_RIGHT));
  t.controls.push_back(gridControl(EQD_SUMMARY, ControlKind::ReadOnlyEdit, "", 3, 6, 1, 2));
  t.controls.push_back(gridControl(EQD_OK, ControlKind::DefaultButton, "OK", 4, 4, 1, 2));
  t.controls.push_back(gridControl(EQD_CANCEL, ControlKind::PushButton, "Cancel", 4, 6, 1, 2));
  return t;
}

bool equalizerDialog(Platform& platform, std::array<double, BAND_COUNT>& values, int mode,
                     const std::optional<EqualizerOffsets>& offsets, const EqualizerCheck& check) {
  const EqualizerMode m =
      mode == EQ_MODE_REVERB_TIME ? EqualizerMode::ReverbTime : EqualizerMode::Gain;
  EqualizerDialog handler(platform, m, values, offsets, check);
  DialogTemplate t = equalizerDialogTemplate();
  if (m == EqualizerMode::ReverbTime) t.title = "RT 60";
  runDialogOrReport(platform, t, handler);
  if (!handler.confirmed()) return false;
  values = handler.values();
  return true;
}

}  // namespace tav
