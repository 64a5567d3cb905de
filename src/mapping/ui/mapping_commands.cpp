#include "mapping/ui/mapping_commands.h"

#include "mapping/level_time.h"
#include "mapping/map_file.h"
#include "mapping/ui/calculation_options_dialog.h"
#include "mapping/ui/map_window.h"
#include "model/number_text.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"

namespace tav {

namespace {

bool hasMap(CommandContext& ctx) { return ctx.project().levelMap.has_value(); }

}  // namespace

void runLevelTime(CommandContext& ctx) {
  Project& project = ctx.project();
  Interaction& ui = ctx.ui();
  if (!hasLoudspeakerObjects(project)) return;
  if (!askCalculationOptions(ctx)) return;

  CalculationOptions& options = project.settings.calculation;
  const std::int16_t gridBefore = options.gridIndex;
  LevelTimeRun run = prepareLevelTime(project, options);
  if (options.gridIndex != gridBefore) ctx.setModified();
  if (!run.message.empty()) ui.showMessage(run.message.text, run.message.caption);
  if (run.status != LevelTimeStatus::Ready) return;

  ui.progressOpen(LEVEL_TIME_PROGRESS_TITLE, "0 %", "Cancel");
  const CalculationStatus status = computeLevelTime(run, project, [&](double percent) {
    return ui.progressUpdate(static_cast<int>(percent), formatFixed(percent, 1, 1) + " %");
  });
  ui.progressClose();
  ctx.session().mapping.lastIncludeRoom = run.includeRoom;
  ctx.setModified();
  if (status == CalculationStatus::Cancelled) {
    project.levelMap.reset();
    project.storedMapBlock.clear();
    ctx.redrawAll();
    return;
  }
  installLevelMap(project, levelMapOf(std::move(run)));
  ctx.redrawAll();
  openMapWindow(ctx);
}

void showLastCalculation(CommandContext& ctx) {
  if (hasMap(ctx)) openMapWindow(ctx);
}

void saveCalculation(CommandContext& ctx) {
  Project& project = ctx.project();
  if (!project.levelMap) return;
  Interaction& ui = ctx.ui();
  History& history = ctx.session().history;
  FileDialogRequest request;
  request.filter = MAP_FILE_FILTER;
  request.fileName = "*.TMF";
  request.folder = history.projectFolder;
  request.defaultExtension = "TMF";
  const auto chosen = ui.saveFileName(request);
  if (!chosen) return;
  const std::string path = mapSavePath(*chosen);
  const auto typed = ui.inputLine(PROMPT_MAP_DESCRIPTION, cp1252ToUtf8(project.description),
                                  static_cast<int>(MAP_DESCRIPTION_MAX));
  const std::string description =
      mapDescriptionField(typed ? utf8ToCp1252(*typed) : project.description);
  const UserMessage error = saveMapFile(path, *project.levelMap, description);
  if (!error.empty()) {
    ui.showMessage(error.text, error.caption);
    return;
  }
  // The description typed for the map is the project's from now on, so the
  // project saves its map with it.
  if (description != project.description) {
    project.description = description;
    ctx.setModified();
  }
}

void loadCalculation(CommandContext& ctx) {
  Project& project = ctx.project();
  Interaction& ui = ctx.ui();
  FileDialogRequest request;
  request.filter = MAP_FILE_OPEN_FILTER;
  request.folder = ctx.session().history.projectFolder;
  const auto chosen = ui.openFileName(request);
  if (!chosen) return;
  const auto bytes = readWholeFile(*chosen);
  if (!bytes) {
    ui.showMessage(MSG_CANT_LOCATE_FILE);
    return;
  }
  const auto description = readMapHeader(*bytes);
  if (!description) {
    ui.showMessage(MSG_NOT_A_MAP_FILE);
    return;
  }
  if (ui.showMessage(cp1252ToUtf8(*description), CAPTION_MAP_DESCRIPTION,
                     MessageButtons::OkCancel) != MessageResult::Ok)
    return;
  MapFileRead read = readMapBytes(*bytes);
  if (!read.ok()) {
    // The map shown before stays as it was.
    ui.showMessage(read.error.text, read.error.caption);
    return;
  }
  project.levelMap = std::move(read.map);
  project.storedMapBlock.clear();
  project.description = read.description;
  ctx.setModified();
  openMapWindow(ctx);
}

void registerMappingCommands(CommandRegistry& registry) {
  registry.add(CMD_LEVEL_TIME, runLevelTime);
  registry.add(CMD_SHOW_LAST_MAP, showLastCalculation).enabled = hasMap;
  registry.add(CMD_SAVE_MAP, saveCalculation).enabled = hasMap;
  registry.add(CMD_LOAD_MAP, loadCalculation);
}

}  // namespace tav
