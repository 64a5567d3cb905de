#include "reflections/ui/rays_command.h"

#include <utility>

#include "model/message.h"
#include "model/save_file.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_run.h"
#include "reflections/ui/ray_display.h"
#include "shell/command_context.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"

namespace tav {

namespace {

// The path objects live only while their results are shown: whatever way
// the command ends, they leave the model.
struct PathCleanup {
  CommandContext& ctx;
  ~PathCleanup() {
    if (removeReflectionPaths(ctx.project().objects) > 0) ctx.redrawAll();
  }
};

}  // namespace

void storeRayFile(CommandContext& ctx, double meanFreePath) {
  Interaction& ui = ctx.ui();
  const auto paths = reflectionPaths(std::as_const(ctx.project().objects));
  if (paths.empty()) return;
  if (ui.showMessage(MSG_STORE_RAYS, "", MessageButtons::OkCancel, MessageIcon::Question) !=
      MessageResult::Ok)
    return;
  FileDialogRequest request;
  request.filter = RAY_FILE_SAVE_FILTER;
  request.fileName = RAY_FILE_DEFAULT_NAME;
  const auto chosen = ui.saveFileName(request);
  if (!chosen) return;
  const std::string name = rayFileName(*chosen);
  const auto description = ui.inputLine(PROMPT_DESCRIPTION, "", RAY_FILE_DESCRIPTION_SIZE - 1);
  if (!description) return;
  if (!saveFileAtomically(name, encodeRayFile(paths, *description, meanFreePath)))
    ui.showMessage(MSG_CANT_WRITE_TO_DISK);
}

void runCalculateRays(CommandContext& ctx) {
  Project& project = ctx.project();
  Interaction& ui = ctx.ui();
  if (buildActiveSpeakerTable(project).empty()) {
    ui.showMessage(MSG_NO_SPEAKERS);
    return;
  }
  const auto order = ui.inputLine(PROMPT_MAX_ORDER, DEFAULT_MAX_ORDER_TEXT, 0);
  if (!order) return;
  ctx.setCommandName(REFLECTIONS_COMMAND_NAME);
  if (ctx.askPoint(PROMPT_TARGET_POINT) != InputOutcome::PointGiven) return;
  RaySearchRequest request;
  request.target = toVec(ctx.input().current) + Vec3d{0, 0, TARGET_LIFT};
  request.maxOrder = parseMaxOrder(*order);

  PathCleanup cleanup{ctx};
  ui.progressOpen(REFLECTION_PROGRESS_TITLE, "0 %", "Cancel");
  request.options.progress = [&ui](double percent) {
    return ui.progressUpdate(static_cast<int>(percent), reflectionProgressText(percent));
  };
  RaySearchRun run;
  try {
    run = runRaySearch(project, request);
  } catch (...) {
    ui.progressClose();
    throw;
  }
  ui.progressClose();
  if (!run.message.empty()) ui.showMessage(run.message.text, run.message.caption);
  if (run.pathsRead == 0) return;
  showRayResults(ctx, run.meanFreePath);
  storeRayFile(ctx, run.meanFreePath);
}

void runLoadRayFile(CommandContext& ctx) {
  Interaction& ui = ctx.ui();
  FileDialogRequest request;
  request.filter = RAY_FILE_OPEN_FILTER;
  const auto chosen = ui.openFileName(request);
  if (!chosen) return;
  const auto bytes = readWholeFile(*chosen);
  if (!bytes) {
    ui.showMessage(MSG_CANT_LOCATE_FILE);
    return;
  }
  RayFileContent content = decodeRayFile(*bytes);
  if (!content.valid) {
    ui.showMessage(MSG_NOT_A_RAY_FILE);
    return;
  }
  if (ui.showMessage(content.description, PROMPT_DESCRIPTION, MessageButtons::OkCancel) !=
      MessageResult::Ok)
    return;
  if (content.paths.empty()) return;
  PathCleanup cleanup{ctx};
  for (auto& p : content.paths) ctx.project().objects.appendObject(std::move(p));
  showRayResults(ctx, content.meanFreePath);
}

void registerReflectionCommands(CommandRegistry& registry) {
  registry.add(CMD_CALCULATE_RAYS, runCalculateRays);
  registry.add(CMD_LOAD_RAY_FILE, runLoadRayFile);
}

}  // namespace tav
