#include "materials/ui/select_material_dialog.h"

#include "materials/ui/absorber_database_files.h"
#include "materials/ui/absorber_dialog_common.h"
#include "platform/interaction.h"

namespace tav {

DialogTemplate selectMaterialDialogTemplate() {
  DialogTemplate t;
  t.title = SELECT_MATERIAL_DIALOG_TITLE;
  auto add = [&](ControlTemplate c) { t.controls.push_back(std::move(c)); };

  add(gridControl(0, ControlKind::Label, "Material", 0, 0));
  ControlTemplate list = gridControl(SAM_LIST, ControlKind::ListBox, "", 1, 0, 10, 1);
  list.minWidth = 190;
  list.minHeight = 240;
  add(list);
  add(gridControl(0, ControlKind::Label, "Description", 0, 1, 1, 3));
  ControlTemplate description =
      gridControl(SAM_DESCRIPTION, ControlKind::ReadOnlyEdit, "", 1, 1, 2, 3);
  description.minWidth = 480;  // a whole description (79 characters) in view
  add(description);
  add(gridControl(0, ControlKind::Label, "Coefficients", 3, 1, 1, 3));
  for (int band = 0; band < 7; ++band) {
    add(gridControl(0, ControlKind::Label, ABSORBER_BAND_LABELS[static_cast<std::size_t>(band)],
                    4 + band, 1, 1, 1, CTL_RIGHT));
    ControlTemplate alpha =
        gridControl(SAM_ALPHA_FIRST + band, ControlKind::ReadOnlyEdit, "", 4 + band, 2);
    alpha.minWidth = 60;
    add(alpha);
    add(gridControl(0, ControlKind::Label, "Hz", 4 + band, 3));
  }
  add(gridControl(SAM_OK, ControlKind::DefaultButton, "OK", 11, 1));
  add(gridControl(SAM_CANCEL, ControlKind::PushButton, "Cancel", 11, 2));
  return t;
}

void SelectMaterialDialog::onInit(DialogControls& c) {
  fillMaterialList(c, SAM_LIST, database_.records);
  choice_ = 0;
  if (present_ == nullptr) return;
  show(c, *present_);
  const int found = database_.find(*present_);
  if (found >= 0) {
    choice_ = found;
    c.setSelection(SAM_LIST, found);
  }
}

void SelectMaterialDialog::show(DialogControls& c, const AbsorberMaterial& m) {
  c.setText(SAM_DESCRIPTION, materialDescription(m));
  for (int band = 0; band < 7; ++band)
    c.setText(SAM_ALPHA_FIRST + band, formatCoefficient(m.alpha[static_cast<std::size_t>(band)]));
}

void SelectMaterialDialog::onCommand(int id, DialogEventKind kind, DialogControls& c) {
  if (id == SAM_LIST &&
      (kind == DialogEventKind::SelectionChanged || kind == DialogEventKind::DoubleClicked)) {
    const int selected = c.selection(SAM_LIST);
    if (selected < 0 || static_cast<std::size_t>(selected) >= database_.count()) return;
    choice_ = selected;
    show(c, database_.records[static_cast<std::size_t>(selected)]);
    if (kind == DialogEventKind::DoubleClicked) finish(c, DLG_OK);
    return;
  }
  if (kind != DialogEventKind::Clicked) return;
  if (id == SAM_OK) finish(c, DLG_OK);
  if (id == SAM_CANCEL) finish(c, DLG_CANCEL);
}

bool SelectMaterialDialog::onClose(DialogControls& c) {
  c.clearItems(SAM_LIST);
  return true;  // ends with DLG_CANCEL: no choice
}

void SelectMaterialDialog::finish(DialogControls& c, int result) {
  c.clearItems(SAM_LIST);
  c.endDialog(result);
}

std::optional<int> selectAbsorberMaterial(Interaction& ui, AbsorberDatabase& database,
                                          const ProjectMaterials& materials, int projectIndex,
                                          const std::string& programFolder) {
  if (!database.loaded() || database.count() == 0) {
    if (ui.showMessage(MSG_LOAD_NOW, MSG_MUST_LOAD_ABSORBER_DB, MessageButtons::OkCancel) ==
        MessageResult::Ok) {
      loadAbsorberDatabase(ui, database, programFolder);
    }
    if (!database.loaded() || database.count() == 0) return std::nullopt;
  }
  const AbsorberMaterial* present = nullptr;
  if (projectIndex >= 0 && static_cast<std::size_t>(projectIndex) < materials.slots.size())
    present = &materials.slots[static_cast<std::size_t>(projectIndex)];
  SelectMaterialDialog handler(database, present);
  if (runDialogOrReport(ui.platform(), selectMaterialDialogTemplate(), handler) != DLG_OK)
    return std::nullopt;
  if (handler.choice() < 0 || static_cast<std::size_t>(handler.choice()) >= database.count())
    return std::nullopt;
  return handler.choice();
}

}  // namespace tav
