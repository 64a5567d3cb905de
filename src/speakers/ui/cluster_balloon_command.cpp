#include "speakers/ui/cluster_balloon_command.h"

#include <string>

#include "model/le_io.h"
#include "model/number_text.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"
#include "speakers/cluster_balloons.h"
#include "speakers/speaker_database.h"

namespace tav {

namespace {

// The folder of the loaded database, else the program's data folder.
std::string databaseFolder(CommandContext& ctx) {
  const SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  if (index.loaded()) return index.directory();
  return ctx.session().dataFolder;
}

}  // namespace

void buildClusterBalloons(CommandContext& ctx) {
  ctx.setCommandName("Build CLUSTER > ");
  Project& project = ctx.project();
  ctx.selectObjects();
  const ClusterMembers members = selectedClusterMembers(project);
  // Whatever happens, the command ends with the loudspeakers deselected.
  auto finish = [&] {
    deselectAll(project);
    ctx.redrawAll();
  };
  if (members.objects.size() < 2) {
    finish();
    return;
  }
  Interaction& ui = ctx.ui();
  ui.progressOpen(CLUSTER_PROGRESS_TITLE, formatFixed(0.0, 1, 1) + " %", "Cancel");
  std::optional<SpeakerType> type = computeClusterBalloon(
      project, members, ctx.session().mapping.lastIncludeRoom,
      [&ui](int value) { return ui.progressUpdate(value, formatFixed(value, 1, 1) + " %"); });
  ui.progressClose();
  if (!type) {
    finish();
    return;
  }
  if (const std::optional<std::string> description =
          ui.inputLine(PROMPT_CLUSTER_DESCRIPTION, "", CLUSTER_DESCRIPTION_MAX))
    setFixedString(type->description, utf8ToCp1252(*description));

  FileDialogRequest request;
  request.filter = CLUSTER_DATABASE_FILTER;
  request.folder = databaseFolder(ctx);
  request.defaultExtension = "TSB";
  const std::optional<std::string> chosen = ui.saveFileName(request);
  if (chosen && !chosen->empty()) {
    const std::vector<std::uint8_t> bytes = encodeClusterDatabase(*type, members);
    if (!saveFileAtomically(speakerDatabasePath(*chosen), bytes))
      ui.showMessage(MSG_CANT_WRITE_FILE);
  }
  finish();
}

}  // namespace tav
