#include "speakers/ui/equalizer_dialog.h"

#include <string>

#include "speakers/equalizer_state.h"

namespace tav {

namespace {

constexpr const char* BAND_LABELS[BAND_COUNT] = {"125",  "250",  "500", "1000",
                                                 "2000", "4000", "8000"};

class EqualizerDialog : public DialogHandler {
 public:
  EqualizerDialog(EqualizerMode mode, const std::array<double, BAND_COUNT>& values,
                  const std::optional<EqualizerOffsets>& offsets)
      : state_(mode, values) {
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

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind == DialogEventKind::Scrolled && id >= EQD_BAR_FIRST && id <= EQD_BAR_MASTER) {
      // The platform reports the bar's new position; the value follows it
      // in whole steps of the position.
      state_.scroll(id - EQD_BAR_FIRST, EqualizerScroll::Thumb, c.scrollPosition(id));
      refresh(c);
    } else if (kind == DialogEventKind::FocusLost && id >= EQD_EDIT_FIRST &&
               id <= EQD_EDIT_MASTER) {
      takeTyped(c, id);
      refresh(c);
    } else if (kind == DialogEventKind::Clicked && id == EQD_OK) {
      // A value typed without leaving its field counts as well.
      for (int e = EQD_EDIT_FIRST; e <= EQD_EDIT_MASTER; ++e) takeTyped(c, e);
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
  void takeTyped(DialogControls& c, int id) {
    const int bar = id - EQD_EDIT_FIRST;
    const std::string typed = c.text(id);
    if (typed == state_.text(bar)) return;
    const std::optional<double> v = parseNumberStrict(typed);
    if (!v) return;
    const double absolute = *v - offsets_[bar];
    if (bar == EQ_MASTER)
      state_.setMaster(absolute);
    else
      state_.setBand(bar, absolute);
  }

  void refresh(DialogControls& c) {
    for (int bar = 0; bar <= EQ_MASTER; ++bar) {
      c.setText(EQD_EDIT_FIRST + bar, state_.text(bar));
      c.setScrollPosition(EQD_BAR_FIRST + bar, state_.barPosition(bar));
    }
    c.setText(EQD_SUMMARY, state_.summaryText());
  }

  EqualizerState state_;
  EqualizerOffsets offsets_{};
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
                     const std::optional<EqualizerOffsets>& offsets) {
  const EqualizerMode m =
      mode == EQ_MODE_REVERB_TIME ? EqualizerMode::ReverbTime : EqualizerMode::Gain;
  EqualizerDialog handler(m, values, offsets);
  DialogTemplate t = equalizerDialogTemplate();
  if (m == EqualizerMode::ReverbTime) t.title = "RT 60";
  runDialogOrReport(platform, t, handler);
  if (!handler.confirmed()) return false;
  values = handler.values();
  return true;
}

}  // namespace tav
