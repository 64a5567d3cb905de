#include "materials/ui/material_commands.h"

#include <string>

#include "materials/project_materials.h"
#include "materials/ui/absorber_database_dialog.h"
#include "materials/ui/absorber_database_files.h"
#include "materials/ui/absorber_dialog_common.h"
#include "materials/ui/select_material_dialog.h"
#include "shell/command_context.h"
#include "shell/command_registry.h"
#include "shell/session.h"

namespace tav {

namespace {

AbsorberDatabase& databaseOf(CommandContext& ctx) {
  Session& session = ctx.session();
  // The open dialog starts where the last session's database was.
  if (session.absorberDatabase.folder.empty())
    restoreAbsorberFolder(session.absorberDatabase, session.history);
  return session.absorberDatabase;
}

}  // namespace

void registerMaterialCommands(CommandRegistry& registry) {
  registry.add(CMD_ASSIGN_MATERIAL, assignMaterial);
  registry.add(CMD_MATERIAL_DATABASE, runSelectMaterialDatabase);
  registry.add(CMD_EDIT_MATERIAL_DATABASE, runEditMaterialDatabase);
}

void installMaterialHooks(Session& session) {
  auto previous = session.hooks.projectReset;
  session.hooks.projectReset = [previous](CommandContext& ctx) {
    if (previous) previous(ctx);
    resetAbsorberDatabaseForNewProject(ctx.session().absorberDatabase);
  };
}

void runSelectMaterialDatabase(CommandContext& ctx) {
  AbsorberDatabase& database = databaseOf(ctx);
  loadAbsorberDatabase(ctx.ui(), database, ctx.session().dataFolder);
  rememberAbsorberDatabase(ctx.session().history, database);
  ctx.updateHistory();
}

void runEditMaterialDatabase(CommandContext& ctx) {
  AbsorberDatabase& database = databaseOf(ctx);
  editAbsorberDatabase(ctx.ui(), database);
  // A database saved under a new name is the one the next session starts at.
  rememberAbsorberDatabase(ctx.session().history, database);
}

void assignMaterial(CommandContext& ctx) {
  Project& project = ctx.project();
  AbsorberDatabase& database = databaseOf(ctx);
  const std::optional<int> chosen = selectAbsorberMaterial(
      ctx.ui(), database, project.materials, DEFAULT_MATERIAL_SLOT, ctx.session().dataFolder);
  if (!chosen) return;
  const AbsorberMaterial& record = database.records[static_cast<std::size_t>(*chosen)];
  if (record.isFree()) {
    ctx.ui().showMessage(MSG_MATERIAL_WITHOUT_NAME);
    return;
  }
  const int slot = addMaterialToProject(project.materials, record);
  if (slot < 0) {
    ctx.ui().showMessage(MSG_CANT_LOAD_ABSORBER, MSG_CANT_LOAD_ABSORBER_CAPTION);
    return;
  }
  ctx.setCommandName("Assign " + materialName(record) + " > ");

  while (const std::optional<FaceSelection> face = ctx.selectFace()) {
    ModelObject* object = face->object;
    const std::size_t materialEntry = face->startEntry + 1;
    if (object != nullptr && materialEntry < object->indices.size() &&
        object->indices[face->startEntry].code == IDX_START &&
        object->indices[materialEntry].code == IDX_MATERIAL) {
      object->indices[materialEntry].ref = static_cast<std::uint16_t>(slot);
      ctx.setModified();
    }
    ctx.redrawAll();
  }
  if (project.modified) releaseUnusedMaterials(project);
}

}  // namespace tav
