#include "mapping/ui/calculation_options_dialog.h"

#include "shell/command_context.h"

namespace tav {

namespace {

constexpr int PHASE_GROUP = 1;
constexpr int GRID_GROUP = 2;

constexpr const char* GRID_LABELS_METRES[] = {"0.25 m", "0.5 m", "1 m", "2 m", "5 m", "10 m"};
constexpr const char* GRID_LABELS_FEET[] = {"    .8 ft.", "  1.6 ft.", "  3.3 ft.",
                                            "  6.6 ft.",  "16.4 ft.",  "32.8 ft."};

ControlTemplate radio(int id, const char* text, int row, int column, int group) {
  ControlTemplate c = gridControl(id, ControlKind::RadioButton, text, row, column);
  c.group = group;
  return c;
}

class CalculationOptionsDialog : public DialogHandler {
 public:
  explicit CalculationOptionsDialog(CommandContext& ctx) : ctx_(ctx) {}

  void onInit(DialogControls& c) override {
    const CalculationOptions& o = options();
    c.setChecked(100 + o.phaseRelation, true);
    c.setChecked(COD_SHADING, (o.includeRoom & 1) != 0);
    c.setChecked(COD_REFLECTION, (o.includeRoom & 2) != 0);
    c.setChecked(o.gridIndex < 0 ? COD_GRID_MINIMUM : COD_GRID_FIRST + o.gridIndex, true);
  }

  void onCommand(int id, DialogEventKind kind, DialogControls& c) override {
    if (kind != DialogEventKind::Clicked) return;
    CalculationOptions o = options();
    if (id >= COD_ENERGY && id <= COD_SINGLE) {
      o.phaseRelation = static_cast<std::int16_t>(id - 100);
    } else if (id == COD_SHADING || id == COD_REFLECTION) {
      o.includeRoom = static_cast<std::int16_t>(o.includeRoom ^ (id == COD_SHADING ? 1 : 2));
    } else if (id >= COD_GRID_MINIMUM && id <= COD_GRID_LAST) {
      o.gridIndex = static_cast<std::int16_t>(id - COD_GRID_FIRST);
    } else if (id == COD_START) {
      c.endDialog(DLG_OK);
      return;
    } else if (id == COD_CANCEL) {
      c.endDialog(DLG_CANCEL);
      return;
    }
    if (!(o == options())) {
      options() = o;
      ctx_.setModified();
    }
  }

 private:
  CalculationOptions& options() { return ctx_.project().settings.calculation; }
  CommandContext& ctx_;
};

}  // namespace

DialogTemplate calculationOptionsTemplate(bool feet) {
  DialogTemplate t;
  t.title = CALCULATION_OPTIONS_TITLE;
  auto add = [&](ControlTemplate c) { t.controls.push_back(std::move(c)); };
  add(gridControl(-1, ControlKind::Label, "Phase Relations", 0, 0));
  add(radio(COD_ENERGY, "Energy", 1, 0, PHASE_GROUP));
  add(radio(COD_OCTAVE, "Octave Bandwidth", 2, 0, PHASE_GROUP));
  add(radio(COD_SINGLE, "Single Frequency", 3, 0, PHASE_GROUP));
  add(gridControl(-2, ControlKind::Label, "Include room", 4, 0));
  add(gridControl(COD_SHADING, ControlKind::CheckBox, "Shading", 5, 0));
  add(gridControl(COD_REFLECTION, ControlKind::CheckBox, "1. Reflection", 6, 0));
  add(gridControl(-3, ControlKind::Label, "Grid Size", 0, 1));
  add(radio(COD_GRID_MINIMUM, "Minimum", 1, 1, GRID_GROUP));
  for (int i = 0; i <= COD_GRID_LAST - COD_GRID_FIRST; ++i)
    add(radio(COD_GRID_FIRST + i, feet ? GRID_LABELS_FEET[i] : GRID_LABELS_METRES[i], 2 + i, 1,
              GRID_GROUP));
  add(gridControl(COD_START, ControlKind::DefaultButton, "Start", 8, 0));
  add(gridControl(COD_CANCEL, ControlKind::PushButton, "Cancel", 8, 1));
  return t;
}

bool askCalculationOptions(CommandContext& ctx) {
  CalculationOptionsDialog handler(ctx);
  return runDialogOrReport(ctx.platform(), calculationOptionsTemplate(ctx.units().feet), handler) ==
         DLG_OK;
}

}  // namespace tav
