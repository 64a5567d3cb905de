#include "speakers/ui/speaker_listing_dialog.h"

#include <string>
#include <vector>

#include "model/le_io.h"
#include "model/number_text.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_listing.h"
#include "speakers/ui/select_speaker_dialog.h"
#include "speakers/ui/speaker_summary_print.h"

namespace tav {

namespace {

constexpr const char* BAND_LABELS[BAND_COUNT] = {"125 Hz", "250 Hz", "500 Hz", "1 kHz",
                                                 "2 kHz",  "4 kHz",  "8 kHz"};

// A row of seven read-only band edits under their labels, titled.
void addBandRow(DialogTemplate& t, const char* title, int row, int firstEdit) {
  t.controls.push_back(gridControl(0, ControlKind::GroupBox, title, row, 1, 3, 7));
  for (int b = 0; b < BAND_COUNT; ++b) {
    t.controls.push_back(gridControl(0, ControlKind::Label, BAND_LABELS[b], row + 1, 1 + b));
    ControlTemplate edit =
        gridControl(firstEdit + b, ControlKind::ReadOnlyEdit, "", row + 2, 1 + b, 1, 1, CTL_RIGHT);
    edit.minWidth = 56;
    t.controls.push_back(edit);
  }
}

class SpeakerListingDialog : public DialogHandler {
 public:
  SpeakerListingDialog(CommandContext& ctx, std::vector<ModelObject*>& speakers)
      : ctx_(ctx), speakers_(speakers) {}

  void onInit(DialogControls& c) override {
    refreshSpeakerPowers(ctx_.project(), speakers_);
    c.clearItems(SL_LIST);
    for (std::size_t i = 0; i < speakers_.size(); ++i) c.addItem(SL_LIST, line(i));
    select(c, 0);
    showTotals(c);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (id == SL_LIST &&
        (kind == DialogEventKind::SelectionChanged || kind == DialogEventKind::DoubleClicked)) {
      const int i = c.selection(SL_LIST);
      if (i >= 0) select(c, static_cast<std::size_t>(i));
      return;
    }
    if (kind != DialogEventKind::Clicked) return;
    switch (id) {
      case SL_CHANGE_ONE:
        changeType(c, false);
        break;
      case SL_CHANGE_ALL:
        changeType(c, true);
        break;
      case SL_PRINT:
        print_ = true;
        c.clearItems(SL_LIST);
        c.endDialog(SL_PRINT);
        break;
      case SL_QUIT:
        c.clearItems(SL_LIST);
        c.endDialog(SL_QUIT);
        break;
      default:
        break;
    }
  }

  bool printRequested() const { return print_; }

  // The highlight of the selected loudspeaker is taken off.
  void unhighlight() {
    if (selected_ >= speakers_.size()) return;
    ModelObject* o = speakers_[selected_];
    o->flags &= ~OF_SELECTED;
    ctx_.drawObject(*o);
  }

 private:
  PlacedSpeaker record(std::size_t i) const { return *speakerOf(*speakers_[i]); }

  std::string line(std::size_t i) const {
    const PlacedSpeaker s = record(i);
    const SpeakerType* type = speakerTypeOf(ctx_.project(), s);
    return cp1252ToUtf8(speakerListingLine(i + 1, type ? fixedString(type->name) : std::string(),
                                           s.position, ctx_.units().feet));
  }

  void showPower(DialogControls& c) {
    const BandPowers w = listedElectricalPower(record(selected_));
    for (int b = 0; b < BAND_COUNT; ++b) c.setText(SL_POWER_FIRST + b, formatFixed(w[b], 2, 3));
  }

  void showTotals(DialogControls& c) {
    const SpeakerTotals t = speakerTotals(ctx_.project(), speakers_);
    for (int b = 0; b < BAND_COUNT; ++b) {
      c.setText(SL_TOTAL_FIRST + b, formatFixed(t.electrical[b], 2, 5));
      c.setText(SL_ACOUSTIC_FIRST + b, formatFixed(t.acoustic[b], 2, 5));
    }
  }

  void select(DialogControls& c, std::size_t i) {
    if (i >= speakers_.size()) return;
    unhighlight();
    selected_ = i;
    c.setSelection(SL_LIST, static_cast<int>(i));
    ModelObject* o = speakers_[i];
    o->flags |= OF_SELECTED;
    ctx_.drawObject(*o);
    showPower(c);
  }

  // One loudspeaker, or every loudspeaker of the selected one's type.
  void changeType(DialogControls& c, bool all) {
    Project& project = ctx_.project();
    SpeakerDatabaseIndex& index = ctx_.session().speakerDatabase;
    const PlacedSpeaker current = record(selected_);
    const SpeakerType* type = speakerTypeOf(project, current);
    const int preselection = type && index.loaded() ? index.find(fixedString(type->name)) : 0;
    const std::optional<int> chosen = selectSpeakerType(ctx_, preselection > 0 ? preselection : 0);
    if (chosen) {
      const std::string name = index.entries[static_cast<std::size_t>(*chosen)].name;
      bool changed = false, failed = false;
      UserMessage message;
      for (std::size_t i = 0; i < speakers_.size(); ++i) {
        if (all ? record(i).typeIndex != current.typeIndex : i != selected_) continue;
        if (changeSpeakerType(project, index, *speakers_[i], name, &message)) {
          changed = true;
          c.setSelection(SL_LIST, -1);
          replaceLine(c, i);
        } else {
          failed = true;
          break;
        }
      }
      if (!message.empty()) ctx_.ui().showMessage(message.text, message.caption);
      if (failed) ctx_.ui().showMessage(MSG_CANT_LOAD_SPEAKER);
      if (changed) ctx_.setModified();
      // The rebuilt drawings lost their highlight: select the line again.
      select(c, selected_);
    }
    showTotals(c);
  }

  void replaceLine(DialogControls& c, std::size_t i) {
    std::vector<std::string> lines;
    for (int k = 0; k < c.itemCount(SL_LIST); ++k) lines.push_back(c.itemText(SL_LIST, k));
    if (i < lines.size()) lines[i] = line(i);
    c.clearItems(SL_LIST);
    for (const std::string& l : lines) c.addItem(SL_LIST, l);
  }

  CommandContext& ctx_;
  std::vector<ModelObject*>& speakers_;
  std::size_t selected_ = 0;
  bool print_ = false;
};

}  // namespace

DialogTemplate speakerListingTemplate() {
  DialogTemplate t;
  t.title = SPEAKER_LISTING_TITLE;
  t.controls.push_back(gridControl(0, ControlKind::Label, "#\tLS-Type\tPlacement", 0, 0));
  ControlTemplate list = gridControl(SL_LIST, ControlKind::ListBox, "", 1, 0, 9, 1);
  list.minWidth = 300;
  list.minHeight = 220;
  t.controls.push_back(list);
  addBandRow(t, "Power of selected speaker", 0, SL_POWER_FIRST);
  addBandRow(t, "Total speaker power", 3, SL_TOTAL_FIRST);
  addBandRow(t, "Total acoustic Watts", 6, SL_ACOUSTIC_FIRST);
  t.controls.push_back(gridControl(0, ControlKind::Label, "Power [W]", 8, 8));
  t.controls.push_back(gridControl(SL_CHANGE_ONE, ControlKind::PushButton,
                                   "Change single speaker type", 9, 1, 1, 2));
  t.controls.push_back(
      gridControl(SL_CHANGE_ALL, ControlKind::PushButton, "Change speaker type ", 9, 3, 1, 2));
  t.controls.push_back(gridControl(SL_PRINT, ControlKind::PushButton, "Print", 9, 5));
  t.controls.push_back(gridControl(SL_QUIT, ControlKind::PushButton, "Quit", 9, 6, 1, 2));
  return t;
}

void speakerListing(CommandContext& ctx) {
  Project& project = ctx.project();
  std::vector<ModelObject*> speakers = sortedLoudspeakers(project);
  if (speakers.empty()) return;
  SpeakerListingDialog dialog(ctx, speakers);
  runDialogOrReport(ctx.platform(), speakerListingTemplate(), dialog);
  dialog.unhighlight();
  ctx.redrawAll();
  if (dialog.printRequested()) printSpeakerSummary(ctx, speakers);
  purgeUnusedTypes(project);
}

}  // namespace tav
