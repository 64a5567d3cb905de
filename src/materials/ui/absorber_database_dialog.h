// The "Absorber Database" dialog: browse the loaded database, add a new
// record ("New") or change the current one ("Edit"), and save on leaving
// when something was changed.
#pragma once

#include <string>

#include "materials/absorber_database.h"
#include "platform/dialog.h"

namespace tav {

class Interaction;

inline constexpr const char* ABSORBER_DB_DIALOG_TITLE = "Absorber Database";

// Control ids.
constexpr int ADB_LIST = 101;
constexpr int ADB_NAME = 102;
constexpr int ADB_DESCRIPTION = 103;
constexpr int ADB_ALPHA_FIRST = 104;  // 104..110: 125 Hz .. 8000 Hz
constexpr int ADB_ALPHA_LAST = 110;
constexpr int ADB_NEW_OK = 111;       // "New" in browse, "OK" while adding or editing
constexpr int ADB_EDIT_CANCEL = 112;  // "Edit" in browse, "Cancel" while adding or editing
constexpr int ADB_QUIT = 113;
constexpr int ADB_CATEGORY = 114;

constexpr int ADB_NAME_MAX = 21;        // characters the editor stores
constexpr int ADB_TEXT_MAX = 79;        // description and category
constexpr int ADB_COEFFICIENT_MAX = 4;  // characters read from a coefficient field

inline constexpr const char* MSG_VALID_COEFFICIENTS = "Valid coefficients only 0...1";
inline constexpr const char* MSG_DATABASE_MODIFIED = "Database has been modified.Save now ?";
inline constexpr const char* MSG_DATABASE_MODIFIED_CAPTION = "Warning";
inline constexpr const char* MSG_MATERIAL_NAME_MISSING = "Please enter a name for the material.";

DialogTemplate absorberDatabaseDialogTemplate();

enum class AbsorberEditState { Browse, New, Edit };

class AbsorberDatabaseDialog : public DialogHandler {
 public:
  AbsorberDatabaseDialog(Interaction& ui, AbsorberDatabase& database)
      : ui_(ui), database_(database) {}

  void onInit(DialogControls& c) override;
  void onCommand(int id, DialogEventKind kind, DialogControls& c) override;
  bool onClose(DialogControls& c) override;

  AbsorberEditState state() const { return state_; }
  bool modified() const { return modified_; }
  int current() const { return current_; }

 private:
  void showRecord(DialogControls& c, int index, bool withCategory = true);
  void clearFields(DialogControls& c);
  void setWritable(DialogControls& c, bool on);
  void toBrowse(DialogControls& c);
  void pressNewOrOk(DialogControls& c);
  void pressEditOrCancel(DialogControls& c);
  void commit(DialogControls& c);
  // On leaving: asks to save when modified, empties the list.
  void askToSave(DialogControls& c);

  Interaction& ui_;
  AbsorberDatabase& database_;
  AbsorberEditState state_ = AbsorberEditState::Browse;
  bool modified_ = false;
  int current_ = 0;
  int beforeNew_ = -1;  // record shown when "New" was pressed
};

// Runs the dialog on the database: 1 after "Quit", 0 when the window was
// closed otherwise or could not be shown.
int editAbsorberDatabase(Interaction& ui, AbsorberDatabase& database);

}  // namespace tav
