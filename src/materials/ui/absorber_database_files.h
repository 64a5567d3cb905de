// Choosing, loading and saving the absorber database through the standard
// file dialogs, with the messages the user sees.
#pragma once

#include <string>

#include "materials/absorber_database.h"

namespace tav {

class Interaction;
struct History;

// Filter of the open and save dialogs ("description|pattern|").
inline constexpr const char* ABSORBER_DB_FILTER = "*.TAB|*.tab|";
inline constexpr const char* ABSORBER_DB_OPEN_TITLE = "Select Material Database";
inline constexpr const char* ABSORBER_DB_SAVE_TITLE = "Save Material Database";

// The open dialog starts in the database folder, or in `programFolder` when
// none is known; the chosen folder becomes the database folder. ".TAB" is
// appended unless present. "Can´t locate file" when the file cannot be
// opened, "Invalid file format" for a wrong header (database unchanged), and
// a notice when the file holds more than 200 materials. True when loaded.
bool loadAbsorberDatabase(Interaction& ui, AbsorberDatabase& database,
                          const std::string& programFolder = {});

// The save dialog (overwrite prompt on) proposes the current database path;
// ".TAB" is appended unless present. True when written; a file that cannot be
// written is reported ("Can´t write file -write protection?") and the old
// file stays as it was.
bool saveAbsorberDatabase(Interaction& ui, AbsorberDatabase& database);

// The history keeps the path of the last database opened; its folder is
// where the open dialog starts in the next session.
void restoreAbsorberFolder(AbsorberDatabase& database, const History& history);
void rememberAbsorberDatabase(History& history, const AbsorberDatabase& database);

}  // namespace tav
