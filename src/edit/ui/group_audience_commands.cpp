// Build Group, Split Group and Build Ontop Room Faces.
#include "edit/audience_faces.h"
#include "edit/edit_limits.h"
#include "edit/object_groups.h"
#include "edit/ui/edit_commands.h"
#include "edit/ui/edit_support.h"

namespace tav {

void runBuildGroup(CommandContext& ctx) {
  ctx.setCommandName("BUILD GROUP > ");
  if (ctx.selectObjects() >= 2 && buildGroup(ctx.project().objects, ctx.project().currentLayer))
    ctx.setModified();
  endEdit(ctx);
}

void runSplitGroup(CommandContext& ctx) {
  ctx.setCommandName("SPLIT GROUP > ");
  if (ctx.selectObjects() > 0 && splitGroup(ctx.project().objects)) ctx.setModified();
  endEdit(ctx);
}

void runBuildOntopRoomFaces(CommandContext& ctx) {
  const std::optional<std::string> text =
      ctx.ui().inputLine(AUDIENCE_HEIGHT_PROMPT, "", AUDIENCE_HEIGHT_INPUT_LENGTH);
  if (!text) return;
  const std::optional<double> height = parseAudienceHeight(*text, ctx.units());
  if (!height) {
    ctx.ui().showMessage(MSG_INVALID_ENTRY);
    return;
  }
  ctx.setCommandName(AUDIENCE_ON_FACES_COMMAND);
  Project& project = ctx.project();
  while (const std::optional<FaceSelection> face = ctx.selectFace()) {
    if (face->object == nullptr) break;
    if (auto area = buildAudienceArea(*face->object, face->startEntry, *height)) {
      ctx.drawObject(*project.objects.insertAtHead(std::move(area)));
    }
  }
  ctx.setModified();
  endEdit(ctx);
}

}  // namespace tav
