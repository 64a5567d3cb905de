// New, Edit, Move, Copy, Mirror, Delete and Switch On/Off of the
// Loudspeakers menu, and the registration of all loudspeaker commands.
#include "speakers/ui/speaker_commands.h"

#include <string>

#include "edit/edit_geometry.h"
#include "model/le_io.h"
#include "shell/command_context.h"
#include "shell/command_registry.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_editing.h"
#include "speakers/speaker_power.h"
#include "speakers/ui/cluster_balloon_command.h"
#include "speakers/ui/edit_speaker_dialog.h"
#include "speakers/ui/select_speaker_dialog.h"
#include "speakers/ui/speaker_listing_dialog.h"

namespace tav {

namespace {

void show(CommandContext& ctx, const UserMessage& m) { ctx.ui().showMessage(m.text, m.caption); }

// Every loudspeaker command ends with nothing selected and a fresh picture.
void endSpeakerCommand(CommandContext& ctx) {
  deselectAll(ctx.project());
  ctx.redrawAll();
}

void recomputePower(Project& project, PlacedSpeaker& s) {
  if (const SpeakerType* type = speakerTypeOf(project, s)) computeSpeakerPower(s, *type);
}

MirrorPlane mirrorPlaneOf(int viewMode) {
  if (viewMode == VIEW_YZ) return MirrorPlane::YZ;
  if (viewMode == VIEW_XZ) return MirrorPlane::XZ;
  return MirrorPlane::XY;
}

// Checks of Copy and Mirror before the base point; false ends the command.
bool copyChecks(CommandContext& ctx, const std::vector<ModelObject*>& selected, bool mirror) {
  const std::size_t existing = ctx.project().objects.countLoudspeakers();
  const std::optional<UserMessage> limit = mirror ? checkMirrorLimit(existing, selected.size())
                                                  : checkSpeakerLimit(existing, selected.size());
  if (limit) {
    show(ctx, *limit);
    return false;
  }
  std::vector<const ModelObject*> objects(selected.begin(), selected.end());
  if (!fitsCopyBuffer(objects)) {
    ctx.ui().showMessage(MSG_INSUFFICIENT_MEMORY_SHORT);
    return false;
  }
  return true;
}

}  // namespace

std::vector<ModelObject*> selectedSpeakers(Project& project) {
  std::vector<ModelObject*> out;
  for (ModelObject& o : project.objects)
    if (o.isSelected() && isLoudspeakerObject(o)) out.push_back(&o);
  return out;
}

void refreshAimPoints(CommandContext& ctx) {
  Project& project = ctx.project();
  rebuildAimPoints(project, project.layers[LAYER_AIM_LINES].visible != 0);
  ctx.redrawAll();
}

void addLoudspeaker(CommandContext& ctx) {
  ctx.setCommandName("ADD NEW LOUDSPEAKER > ");
  Project& project = ctx.project();
  if (const auto limit = checkSpeakerLimit(project.objects.countLoudspeakers(), 1)) {
    show(ctx, *limit);
    return;
  }
  if (ctx.askPoint(PROMPT_PLACE_AT) != InputOutcome::PointGiven) return;
  PlacedSpeaker s = newPlacedSpeaker(toVec(ctx.input().current));
  std::string typeName;
  if (!editSpeakerDialog(ctx, s, typeName)) return;
  UserMessage message;
  const bool resolved =
      resolveSpeakerType(project, ctx.session().speakerDatabase, s, typeName, &message);
  if (!message.empty()) show(ctx, message);
  if (!resolved) return;
  recomputePower(project, s);
  if (!buildSpeakerDrawing(project, s, nullptr)) {
    ctx.ui().showMessage(MSG_INSUFFICIENT_MEMORY_SHORT);
    purgeUnusedTypes(project);
    return;
  }
  ctx.setModified();
  refreshAimPoints(ctx);
}

void editLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("EDIT LOUDSPEAKER > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> marked = selectedSpeakers(project);
  for (ModelObject* o : marked) {
    o->flags |= OF_MARKED;
    o->flags &= ~OF_SELECTED;
  }
  SpeakerDatabaseIndex& index = ctx.session().speakerDatabase;
  bool modified = false;
  for (ModelObject* o : marked) {
    o->flags |= OF_SELECTED;  // highlighted while its dialog is open
    ctx.drawObject(*o);
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    const SpeakerType* type = speakerTypeOf(project, *s);
    const std::string oldName = type ? fixedString(type->name) : std::string();
    const std::int16_t oldIndex = s->typeIndex;
    // The dialog's power figures refer to this loudspeaker's own type.
    if (type) index.currentHead = speakerHeadOf(*type);
    std::string typeName = oldName;
    if (editSpeakerDialog(ctx, *s, typeName)) {
      if (typeName != oldName) {
        UserMessage message;
        if (!resolveSpeakerType(project, index, *s, typeName, &message)) s->typeIndex = oldIndex;
        if (!message.empty()) show(ctx, message);
      }
      recomputePower(project, *s);
      buildSpeakerDrawing(project, *s, o);
      modified = true;
    } else {
      // What the type choice and the equalizer set stays; the derived
      // power must then follow the gains.
      if (!(*s == *speakerOf(*o))) {
        recomputePower(project, *s);
        storeSpeaker(*o, *s);
        ctx.setModified();
      }
      o->flags &= ~OF_SELECTED;
      ctx.drawObject(*o);
    }
    o->flags &= ~(OF_MARKED | OF_SELECTED);
  }
  if (modified) {
    ctx.setModified();
    purgeUnusedTypes(project);
  }
  deselectAll(project);
  refreshAimPoints(ctx);
}

void switchLoudspeakers(CommandContext& ctx, bool on) {
  ctx.setCommandName(on ? "LOUDSPEAKER ON > " : "LOUDSPEAKER OFF > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> selected = selectedSpeakers(project);
  for (ModelObject* o : selected) {
    o->flags &= ~OF_SELECTED;
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    s->switchedOn = on ? 1 : 0;
    o->colour = on ? SPEAKER_COLOUR_ON : SPEAKER_COLOUR_OFF;
    if (on) recomputePower(project, *s);
    storeSpeaker(*o, *s);
    ctx.drawObject(*o);
  }
  if (!selected.empty()) ctx.setModified();
  deselectAll(project);
  refreshAimPoints(ctx);
}

void moveLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("MOVE LOUDSPEAKERS > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  if (ctx.askBasePoint() != InputOutcome::PointGiven) {
    endSpeakerCommand(ctx);
    return;
  }
  // The preview moves the drawings on screen only; the model changes once
  // the second point is given, so Escape leaves everything in place.
  ctx.startDrag(DragMode::MoveObjects);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  if (r == InputOutcome::PointGiven) {
    const Vec3d delta = toVec(ctx.input().current) - toVec(ctx.input().base);
    for (ModelObject* o : selectedSpeakers(project)) {
      std::optional<PlacedSpeaker> s = speakerOf(*o);
      moveObject(*o, delta);
      s->position = toNode(s->pos() + delta);
      storeSpeaker(*o, *s);
    }
    ctx.setModified();
    deselectAll(project);
    refreshAimPoints(ctx);
    return;
  }
  endSpeakerCommand(ctx);
}

// The common start of Copy and Mirror: room for one more loudspeaker, the
// selection, the copy checks and the base point. Empty when the command ends.
static std::vector<ModelObject*> startCopying(CommandContext& ctx, bool mirrored) {
  Project& project = ctx.project();
  if (const auto limit = checkSpeakerLimit(project.objects.countLoudspeakers(), 1)) {
    show(ctx, *limit);
    return {};
  }
  if (ctx.selectObjects() == 0) return {};
  std::vector<ModelObject*> sources = selectedSpeakers(project);
  if (sources.empty() || !copyChecks(ctx, sources, mirrored) ||
      ctx.askBasePoint() != InputOutcome::PointGiven) {
    endSpeakerCommand(ctx);
    return {};
  }
  return sources;
}

void copyLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("COPY LOUDSPEAKERS > ");
  Project& project = ctx.project();
  const std::vector<ModelObject*> sources = startCopying(ctx, false);
  if (sources.empty()) return;
  bool copied = false;
  for (;;) {
    ctx.startDrag(DragMode::MoveObjects);
    const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
    ctx.stopDrag();
    if (r != InputOutcome::PointGiven) break;
    if (const auto limit = checkSpeakerLimit(project.objects.countLoudspeakers(), sources.size())) {
      show(ctx, *limit);
      break;
    }
    const Vec3d delta = toVec(ctx.input().current) - toVec(ctx.input().base);
    // Copies go before the first object of the list, in the order of their
    // sources.
    ModelObject* before = project.objects.head();
    for (ModelObject* source : sources) {
      std::unique_ptr<ModelObject> copy = ObjectList::copyObject(*source);
      if (!copy) {
        ctx.ui().showMessage(MSG_INSUFFICIENT_MEMORY_SHORT);
        break;
      }
      copy->flags = source->flags & ~(OF_SELECTED | OF_MARKED);
      moveObject(*copy, delta);
      storeSpeaker(*copy, copiedSpeaker(*speakerOf(*source), delta));
      project.objects.insertObjectBefore(std::move(copy), before);
      copied = true;
    }
    ctx.setModified();
    ctx.redrawAll();
  }
  deselectAll(project);
  if (copied)
    refreshAimPoints(ctx);
  else
    ctx.redrawAll();
}

void mirrorLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("MIRROR LOUDSPEAKERS > ");
  Project& project = ctx.project();
  const std::vector<ModelObject*> sources = startCopying(ctx, true);
  if (sources.empty()) return;
  ctx.startDrag(DragMode::MirrorPreview);
  const InputOutcome r = ctx.askPoint(PROMPT_OFFSET_POINT);
  ctx.stopDrag();
  if (r != InputOutcome::PointGiven) {
    endSpeakerCommand(ctx);
    return;
  }
  const Vec3d p1 = toVec(ctx.input().base), p2 = toVec(ctx.input().current);
  const int mode = ctx.view().mode;
  ModelObject* before = project.objects.head();
  for (ModelObject* source : sources) {
    std::unique_ptr<ModelObject> copy = ObjectList::copyObject(*source);
    if (!copy) {
      ctx.ui().showMessage(MSG_INSUFFICIENT_MEMORY_SHORT);
      break;
    }
    copy->flags = source->flags & ~(OF_SELECTED | OF_MARKED);
    const bool mirrored = mirrorObject(*copy, mode, p1, p2);
    finishMirroredSpeaker(*copy, *speakerOf(*source), p1, p2, mirrorPlaneOf(mode));
    // Without a mirror line the nodes stayed as they were: so do the faces.
    if (!mirrored) reverseAllFaces(*copy);
    project.objects.insertObjectBefore(std::move(copy), before);
  }
  ctx.setModified();
  deselectAll(project);
  refreshAimPoints(ctx);
}

void deleteLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("DELETE LOUDSPEAKERS > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> selected = selectedSpeakers(project);
  for (ModelObject* o : selected) project.objects.freeObject(o);
  if (!selected.empty()) {
    ctx.setModified();
    purgeUnusedTypes(project);
  }
  deselectAll(project);
  refreshAimPoints(ctx);
}

void registerSpeakerCommands(CommandRegistry& registry) {
  auto state = std::make_shared<SpeakerCommandState>();
  registry.add(CMD_SPEAKER_DATABASE, runSelectSpeakerDatabase);
  registry.add(CMD_SPEAKER_NEW, addLoudspeaker);
  registry.add(CMD_SPEAKER_EDIT, editLoudspeakers);
  registry.add(CMD_SPEAKER_LISTING, speakerListing);
  registry.add(CMD_CLUSTER_BALLOONS, buildClusterBalloons);
  registry.add(CMD_SPEAKER_MOVE, moveLoudspeakers);
  registry.add(CMD_SPEAKER_COPY, copyLoudspeakers);
  registry.add(CMD_SPEAKER_MIRROR, mirrorLoudspeakers);
  registry.add(CMD_SPEAKER_DELETE, deleteLoudspeakers);
  registry.add(CMD_SPEAKER_SWITCH_ON, [](CommandContext& ctx) { switchLoudspeakers(ctx, true); });
  registry.add(CMD_SPEAKER_SWITCH_OFF, [](CommandContext& ctx) { switchLoudspeakers(ctx, false); });
  registry.add(CMD_SPEAKER_EQUALIZER, equalizeLoudspeakers);
  registry.add(CMD_SPEAKER_AIM_TARGET, aimAtTarget);
  registry.add(CMD_SPEAKER_ALIGN, alignToTarget);
  registry.add(CMD_SPEAKER_DELAY, [state](CommandContext& ctx) { setDelayTime(ctx, *state); });
  registry.add(CMD_SPEAKER_TURN_ARRAY, turnArray);
  registry.add(CMD_SPEAKER_TILT_ARRAY, tiltArray);
  registry.add(CMD_SPEAKER_AIM_PERSPECTIVE, aimByPerspective);
}

void installSpeakerHooks(Session& session) {
  auto previousAim = session.hooks.rebuildAimPoints;
  session.hooks.rebuildAimPoints = [previousAim](CommandContext& ctx) {
    if (previousAim) previousAim(ctx);
    Project& project = ctx.project();
    rebuildAimPoints(project, project.layers[LAYER_AIM_LINES].visible != 0);
  };
  auto previousLoaded = session.hooks.projectLoaded;
  session.hooks.projectLoaded = [previousLoaded](CommandContext& ctx) {
    if (previousLoaded) previousLoaded(ctx);
    Project& project = ctx.project();
    recomputeSpeakerPowers(project);
    rebuildAimPoints(project, project.layers[LAYER_AIM_LINES].visible != 0);
  };
}

}  // namespace tav
