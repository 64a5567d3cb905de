// The menu commands of the absorber materials: choosing the database (2801),
// editing it (2802) and assigning a material to room faces (2501).
#pragma once

#include "shell/command_ids.h"

namespace tav {

class CommandContext;
class CommandRegistry;
struct Session;

inline constexpr const char* MSG_CANT_LOAD_ABSORBER = "Can\u00B4t load absorber";
inline constexpr const char* MSG_CANT_LOAD_ABSORBER_CAPTION = "Error : Insufficient memory";
inline constexpr const char* MSG_MATERIAL_WITHOUT_NAME =
    "This material has no name and cannot be assigned; give it a name in the database first.";

void registerMaterialCommands(CommandRegistry& registry);

// Joins the session's new-project hook: a new project clears the absorber
// database only when no database file is set. Keeps any hook already there.
void installMaterialHooks(Session& session);

// 2801: the open dialog, then the history is updated.
void runSelectMaterialDatabase(CommandContext& ctx);
// 2802: the "Absorber Database" dialog.
void runEditMaterialDatabase(CommandContext& ctx);
// 2501: the user picks a database material, then faces one by one until the
// command is ended; the faces get the material, unused slots are freed.
void assignMaterial(CommandContext& ctx);

}  // namespace tav
