// The "Select Absorber Material" dialog and selectAbsorberMaterial: the user
// picks a database record for faces whose present material is shown first.
#pragma once

#include <optional>
#include <string>

#include "materials/absorber_database.h"
#include "platform/dialog.h"

namespace tav {

class Interaction;

inline constexpr const char* SELECT_MATERIAL_DIALOG_TITLE = "Select Absorber Material";

// Control ids.
constexpr int SAM_LIST = 101;
constexpr int SAM_DESCRIPTION = 102;
constexpr int SAM_ALPHA_FIRST = 103;  // 103..109: 125 Hz .. 8000 Hz
constexpr int SAM_ALPHA_LAST = 109;
constexpr int SAM_OK = 110;
constexpr int SAM_CANCEL = 111;

inline constexpr const char* MSG_LOAD_NOW = "Load now ?";
inline constexpr const char* MSG_MUST_LOAD_ABSORBER_DB = "Must load absorber database first";

DialogTemplate selectMaterialDialogTemplate();

class SelectMaterialDialog : public DialogHandler {
 public:
  // `present` is the material the faces have now (shown first).
  SelectMaterialDialog(const AbsorberDatabase& database, const AbsorberMaterial* present)
      : database_(database), present_(present) {}

  void onInit(DialogControls& c) override;
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override;
  bool onClose(DialogControls& c) override;

  // The database record chosen, valid once the dialog ended with DLG_OK.
  int choice() const { return choice_; }

 private:
  void show(DialogControls& c, const AbsorberMaterial& m);
  void finish(DialogControls& c, int result);

  const AbsorberDatabase& database_;
  const AbsorberMaterial* present_;
  int choice_ = 0;
};

// Asks to load a database first when none is loaded or it is empty; then the
// dialog, initialised from project slot `projectIndex`. The chosen database
// index, or nothing when there is no database or the user cancelled.
std::optional<int> selectAbsorberMaterial(Interaction& ui, AbsorberDatabase& database,
                                          const ProjectMaterials& materials, int projectIndex,
                                          const std::string& programFolder = {});

}  // namespace tav
