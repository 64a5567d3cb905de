// Aim at Target, Align to Target, Set Delay Time, Turn and Tilt array, and
// Equalizer / Power of the Loudspeakers menu.
#include <algorithm>
#include <cmath>
#include <string>

#include "model/message.h"
#include "model/number_text.h"
#include "shell/command_context.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_aiming.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_power.h"
#include "speakers/ui/equalizer_dialog.h"
#include "speakers/ui/speaker_commands.h"

namespace tav {

namespace {

void endSpeakerCommand(CommandContext& ctx) {
  deselectAll(ctx.project());
  ctx.redrawAll();
}

// Selection, then a point; the selected loudspeakers, or none when the
// command ends here.
std::vector<ModelObject*> selectThenPoint(CommandContext& ctx, bool basePoint) {
  if (ctx.selectObjects() == 0) return {};
  std::vector<ModelObject*> selected = selectedSpeakers(ctx.project());
  const InputOutcome r = basePoint ? ctx.askBasePoint() : ctx.askPoint(PROMPT_REFERENCE_POINT);
  if (selected.empty() || r != InputOutcome::PointGiven) {
    endSpeakerCommand(ctx);
    return {};
  }
  return selected;
}

// The angle of "Angle [deg] : " in radians, or nothing when cancelled or
// beyond a whole turn ("Invalid entry !"): the turned angles are wrapped
// once, which brings back only what a whole turn can reach.
std::optional<double> askArrayAngle(CommandContext& ctx) {
  const std::optional<std::string> text = ctx.ui().inputLine(PROMPT_ARRAY_ANGLE, "0", 39);
  if (!text) return std::nullopt;
  const double degrees = parseNumber(*text);
  if (!(std::fabs(degrees) <= ARRAY_ANGLE_ENTRY_LIMIT)) {
    ctx.ui().showMessage(MSG_INVALID_ENTRY);
    return std::nullopt;
  }
  return arrayAngle(degrees);
}

}  // namespace

void aimAtTarget(CommandContext& ctx) {
  ctx.setCommandName("AIM LOUDSPEAKERS > ");
  const std::vector<ModelObject*> selected = selectThenPoint(ctx, false);
  if (selected.empty()) return;
  Project& project = ctx.project();
  const Vec3d target = toVec(ctx.input().current);
  for (ModelObject* o : selected) {
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    tav::aimAtTarget(*s, target);
    buildSpeakerDrawing(project, *s, o);
  }
  ctx.setModified();
  deselectAll(project);
  refreshAimPoints(ctx);
}

void alignToTarget(CommandContext& ctx) {
  ctx.setCommandName("LOUDSPEAKER ALIGNMENT > ");
  const std::vector<ModelObject*> selected = selectThenPoint(ctx, false);
  if (selected.empty()) return;
  std::vector<Vec3d> positions;
  for (ModelObject* o : selected) positions.push_back(speakerOf(*o)->pos());
  const std::vector<double> delays = alignmentDelays(positions, toVec(ctx.input().current));
  for (std::size_t i = 0; i < selected.size(); ++i) {
    std::optional<PlacedSpeaker> s = speakerOf(*selected[i]);
    s->delay = static_cast<float>(delays[i]);
    storeSpeaker(*selected[i], *s);
  }
  ctx.setModified();
  endSpeakerCommand(ctx);
}

void setDelayTime(CommandContext& ctx, SpeakerCommandState& state) {
  ctx.setCommandName("Set Delay Time > ");
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> selected = selectedSpeakers(ctx.project());
  const std::optional<std::string> text = ctx.ui().inputLine(PROMPT_DELAY_TIME, "0.0", 10);
  if (!text || selected.empty()) {
    endSpeakerCommand(ctx);
    return;
  }
  // A text that is no number keeps the value entered last.
  if (const std::optional<double> v = parseNumberStrict(*text)) state.delayMs = *v;
  for (ModelObject* o : selected) {
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    s->delay = static_cast<float>(state.delayMs);
    storeSpeaker(*o, *s);
  }
  ctx.setModified();
  endSpeakerCommand(ctx);
}

void turnArray(CommandContext& ctx) {
  ctx.setCommandName("Turn speakers");
  const std::vector<ModelObject*> selected = selectThenPoint(ctx, true);
  if (selected.empty()) return;
  const std::optional<double> angle = askArrayAngle(ctx);
  if (!angle) {
    endSpeakerCommand(ctx);
    return;
  }
  const Vec3d base = toVec(ctx.input().base);
  for (ModelObject* o : selected) {
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    ctx.eraseObject(*o);
    turnSpeaker(*s, o, base, *angle);
    storeSpeaker(*o, *s);
  }
  ctx.setModified();
  deselectAll(ctx.project());
  refreshAimPoints(ctx);
}

void tiltArray(CommandContext& ctx) {
  ctx.setCommandName("Tilt speakers>");
  const std::vector<ModelObject*> selected = selectThenPoint(ctx, true);
  if (selected.empty()) return;
  const std::optional<double> angle = askArrayAngle(ctx);
  if (!angle) {
    endSpeakerCommand(ctx);
    return;
  }
  Project& project = ctx.project();
  const Vec3d base = toVec(ctx.input().base);
  for (ModelObject* o : selected) {
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    tiltSpeaker(*s, base, *angle);
    buildSpeakerDrawing(project, *s, o);
  }
  ctx.setModified();
  deselectAll(project);
  refreshAimPoints(ctx);
}

void equalizeLoudspeakers(CommandContext& ctx) {
  ctx.setCommandName("LOUDSPEAKER EQUALIZER > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> selected = selectedSpeakers(project);
  if (selected.empty()) {
    endSpeakerCommand(ctx);
    return;
  }
  bool common = false;
  if (selected.size() > 1) {
    const MessageResult answer =
        ctx.ui().showMessage(MSG_COMMON_EQUALIZATION, CAPTION_COMMON_EQUALIZATION,
                             MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageResult::Cancel) {
      endSpeakerCommand(ctx);
      return;
    }
    common = answer == MessageResult::Yes;
  }
  // A setting beyond a loudspeaker's maximum power is refused while the
  // dialog stays open with what the user set.
  const EqualizerCheck oneSpeaker = [](const BandValues& gains) {
    UserMessage refusal;
    driveAcceptable(gains, &refusal);
    return refusal;
  };
  BandValues start{}, chosen{};
  if (common) {
    std::vector<PlacedSpeaker> records;
    for (ModelObject* o : selected) records.push_back(*speakerOf(*o));
    start = commonStartGains(records);
    // The edits show the change from the start values.
    EqualizerOffsets offsets{};
    for (int b = 0; b < BAND_COUNT; ++b) offsets[b] = -start[b];
    offsets[BAND_COUNT] = -*std::max_element(start.begin(), start.end());
    chosen = start;
    const EqualizerCheck everySpeaker = [&](const BandValues& values) {
      UserMessage refusal;
      for (const PlacedSpeaker& s : records)
        if (!driveAcceptable(commonEqualizedGains(s, start, values), &refusal)) break;
      return refusal;
    };
    if (!equalizerDialog(ctx.platform(), chosen, EQ_MODE_GAIN, offsets, everySpeaker)) {
      endSpeakerCommand(ctx);
      return;
    }
  }
  bool changed = false;
  for (ModelObject* o : selected) {
    o->flags &= ~OF_SELECTED;
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    BandValues gains{};
    if (common) {
      gains = commonEqualizedGains(*s, start, chosen);
    } else {
      for (int b = 0; b < BAND_COUNT; ++b) gains[b] = s->eqGain[b];
      if (!equalizerDialog(ctx.platform(), gains, EQ_MODE_GAIN, std::nullopt, oneSpeaker)) {
        ctx.drawObject(*o);
        continue;
      }
    }
    UserMessage refusal;
    if (!driveAcceptable(gains, &refusal)) {
      ctx.ui().showMessage(refusal.text, refusal.caption);
      break;
    }
    for (int b = 0; b < BAND_COUNT; ++b) s->eqGain[b] = static_cast<float>(gains[b]);
    if (const SpeakerType* type = speakerTypeOf(project, *s)) computeSpeakerPower(*s, *type);
    storeSpeaker(*o, *s);
    ctx.drawObject(*o);
    changed = true;
  }
  if (changed) ctx.setModified();
  endSpeakerCommand(ctx);
}

}  // namespace tav
