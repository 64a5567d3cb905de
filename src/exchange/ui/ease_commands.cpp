#include "exchange/ui/ease_commands.h"

#include <string>
#include <vector>

#include "exchange/ease_faces.h"
#include "exchange/ease_speakers.h"
#include "exchange/ease_text.h"
#include "model/le_io.h"
#include "model/save_file.h"
#include "shell/command_context.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/menu_table.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_editing.h"
#include "speakers/ui/edit_speaker_dialog.h"
#include "speakers/ui/select_speaker_dialog.h"

namespace tav {

namespace {

inline constexpr const char* NAME_EXPORT_FACES = "Export EASE-faces > ";
inline constexpr const char* NAME_EXPORT_SPEAKERS = "Export loudspeakers to EASE > ";
inline constexpr const char* NAME_IMPORT_SPEAKERS = "Import loudspeakers from EASE > ";

void show(CommandContext& ctx, const UserMessage& m) {
  if (!m.empty()) ctx.ui().showMessage(m.text, m.caption);
}

// File dialogs are titled with the command's menu text.
FileDialogRequest request(CommandContext& ctx, const char* filter, const char* extension = "") {
  FileDialogRequest r;
  if (const CommandSpec* spec = commandSpec(ctx.command()))
    for (const char* c = spec->text; *c != '\0'; ++c)
      if (*c != '&') r.title += *c;
  r.filter = filter;
  const Session& session = ctx.session();
  r.folder =
      session.history.projectFolder.empty() ? session.dataFolder : session.history.projectFolder;
  r.defaultExtension = extension;
  r.overwritePrompt = *extension != '\0';
  return r;
}

// The chosen file's text; "Can´t locate file" when it cannot be read.
std::optional<std::string> openEaseFile(CommandContext& ctx, const char* filter) {
  const std::optional<std::string> path = ctx.ui().openFileName(request(ctx, filter));
  if (!path || path->empty()) return std::nullopt;
  const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(*path);
  if (!bytes) {
    ctx.ui().showMessage(MSG_CANT_LOCATE_FILE);
    return std::nullopt;
  }
  return std::string(bytes->begin(), bytes->end());
}

bool saveText(CommandContext& ctx, const std::string& path, const std::string& text) {
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  if (saveFileAtomically(path, std::span<const std::uint8_t>(data, text.size()))) return true;
  ctx.ui().showMessage(MSG_CANT_WRITE_FILE);
  return false;
}

void importFaces(CommandContext& ctx, bool v3) {
  const std::optional<std::string> text =
      openEaseFile(ctx, v3 ? EASE_FACES_V3_IMPORT_FILTER : EASE_FACES_V2_IMPORT_FILTER);
  if (!text) return;
  EaseFaceImport faces = v3 ? readEaseFacesV3(*text) : readEaseFacesV2(*text);
  if (faces.headerMissing) {
    ctx.ui().showMessage(MSG_EASE3_HEADER_MISSING);
  } else {
    if (insertImportedFaces(ctx.project().objects, faces) > 0) ctx.setModified();
    show(ctx, easeFaceImportReport(faces));
  }
  ctx.redrawAll();
}

void exportFaces(CommandContext& ctx, bool v3) {
  Project& project = ctx.project();
  ctx.setCommandName(NAME_EXPORT_FACES);
  auto finish = [&] {
    deselectAll(project);
    ctx.redrawAll();
  };
  if (ctx.selectObjects() == 0) {
    finish();
    return;
  }
  std::vector<const ModelObject*> selected;
  for (const ModelObject& o : project.objects)
    if (o.isSelected()) selected.push_back(&o);
  const std::optional<std::string> chosen =
      ctx.ui().saveFileName(v3 ? request(ctx, EASE_FACES_V3_EXPORT_FILTER, "xfc")
                               : request(ctx, EASE_FACES_V2_EXPORT_FILTER, "imp"));
  if (!chosen || chosen->empty()) {
    finish();
    return;
  }
  const EaseFaceExport file = v3 ? writeEaseFacesV3(selected) : writeEaseFacesV2(selected);
  finish();
  if (file.tooLarge) {
    ctx.ui().showMessage(MSG_EASE2_FACE_TOO_LARGE);
    return;
  }
  saveText(ctx, v3 ? withEaseExtension(*chosen, EASE_FACES_V3_EXTENSION) : *chosen, file.text);
}

void exportSpeakers(CommandContext& ctx, bool v3) {
  Project& project = ctx.project();
  if (project.objects.countLoudspeakers() == 0) return;
  ctx.setCommandName(NAME_EXPORT_SPEAKERS);
  const std::optional<std::string> chosen =
      ctx.ui().saveFileName(v3 ? request(ctx, EASE_SPEAKERS_V3_EXPORT_FILTER, "xld")
                               : request(ctx, EASE_SPEAKERS_V2_EXPORT_FILTER, "imp"));
  if (!chosen || chosen->empty()) return;
  saveText(ctx, *chosen, v3 ? writeEaseSpeakersV3(project) : writeEaseSpeakersV2(project));
}

void importSpeakers(CommandContext& ctx, bool v3) {
  SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  if (!index.loaded()) {
    if (ctx.ui().showMessage(MSG_LOAD_DATABASE_FIRST, CAPTION_LOAD_DATABASE_FIRST,
                             MessageButtons::OkCancel, MessageIcon::Warning) != MessageResult::Ok)
      return;
    if (!loadSpeakerDatabase(ctx)) return;
  }
  ctx.setCommandName(NAME_IMPORT_SPEAKERS);
  const std::optional<std::string> text =
      openEaseFile(ctx, v3 ? EASE_SPEAKERS_V3_IMPORT_FILTER : EASE_SPEAKERS_V2_IMPORT_FILTER);
  if (!text) return;
  Project& project = ctx.project();
  const std::size_t existing = project.objects.countLoudspeakers();
  EaseSpeakerImport read =
      v3 ? readEaseSpeakersV3(*text, existing) : readEaseSpeakersV2(*text, existing);
  if (read.limitReached) ctx.ui().showMessage(MSG_TOO_MANY_SPEAKERS, CAPTION_TOO_MANY_SPEAKERS);
  if (read.skippedLines > 0)
    ctx.ui().showMessage(std::to_string(read.skippedLines) +
                             (read.skippedLines == 1 ? " line" : " lines") +
                             " of loudspeaker records did not read and were skipped.",
                         "EASE Import");
  bool entered = false;
  for (PlacedSpeaker& s : read.speakers) entered = resolveImportedSpeaker(ctx, s) || entered;
  if (entered) rebuildAimPoints(project, project.layers[LAYER_AIM_LINES].visible != 0);
  ctx.redrawAll();
}

}  // namespace

bool resolveImportedSpeaker(CommandContext& ctx, PlacedSpeaker& speaker) {
  Project& project = ctx.project();
  const SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  UserMessage message;
  bool found = findImportedSpeakerType(project, index, speaker, &message);
  show(ctx, message);
  const bool chosenByUser = !found;
  if (!found) {
    std::string typeName = fixedString(speaker.group);
    if (!editSpeakerDialog(ctx, speaker, typeName)) return false;
    setFixedString(speaker.group, typeName);
    message = {};
    found = findImportedSpeakerType(project, index, speaker, &message);
    show(ctx, message);
    if (!found) {
      ctx.ui().showMessage(MSG_SPEAKER_NOT_AVAILABLE);
      return false;
    }
  }
  // The file's electrical powers set the equalizer, unless the user chose
  // the type (and with it the gains) in the dialog.
  if (enterImportedSpeaker(project, speaker, !chosenByUser) == nullptr) {
    ctx.ui().showMessage(MSG_INSUFFICIENT_MEMORY_SHORT);
    return false;
  }
  ctx.setModified();
  return true;
}

void importEaseFacesV2(CommandContext& ctx) { importFaces(ctx, false); }
void importEaseFacesV3(CommandContext& ctx) { importFaces(ctx, true); }
void exportEaseFacesV2(CommandContext& ctx) { exportFaces(ctx, false); }
void exportEaseFacesV3(CommandContext& ctx) { exportFaces(ctx, true); }
void importEaseSpeakersV2(CommandContext& ctx) { importSpeakers(ctx, false); }
void importEaseSpeakersV3(CommandContext& ctx) { importSpeakers(ctx, true); }
void exportEaseSpeakersV2(CommandContext& ctx) { exportSpeakers(ctx, false); }
void exportEaseSpeakersV3(CommandContext& ctx) { exportSpeakers(ctx, true); }

void registerExchangeCommands(CommandRegistry& registry) {
  registry.add(CMD_IMPORT_FACES_EASE3, importEaseFacesV3);
  registry.add(CMD_EXPORT_FACES_EASE3, exportEaseFacesV3);
  registry.add(CMD_IMPORT_FACES_EASE2, importEaseFacesV2);
  registry.add(CMD_EXPORT_FACES_EASE2, exportEaseFacesV2);
  registry.add(CMD_IMPORT_SPEAKERS_EASE3, importEaseSpeakersV3);
  registry.add(CMD_EXPORT_SPEAKERS_EASE3, exportEaseSpeakersV3);
  registry.add(CMD_IMPORT_SPEAKERS_EASE2, importEaseSpeakersV2);
  registry.add(CMD_EXPORT_SPEAKERS_EASE2, exportEaseSpeakersV2);
}

}  // namespace tav
